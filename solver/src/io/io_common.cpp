#include "io/io_common.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include <sys/stat.h>

namespace tarq_solver {

int Fail(IoError& err, int code, std::int64_t at, std::string what) {
  err.code = code;
  err.at = at;
  err.what = std::move(what);
  return code;
}

std::string Quote(std::string_view text) {
  constexpr size_t kMax = 40;
  std::string out = "\"";
  for (size_t i = 0; i < text.size() && i < kMax; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    out.push_back(c >= 0x20 && c != 0x7f ? static_cast<char>(c) : '?');
  }
  if (text.size() > kMax) out += "...";
  out.push_back('"');
  return out;
}

namespace {

std::string SystemError() { return std::strerror(errno); }

int ReadPlain(std::FILE* f, std::string& out, IoError& err) {
  constexpr size_t kChunk = size_t{1} << 20;
  size_t size = out.size();
  struct stat info;
  if (fstat(fileno(f), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    out.reserve(static_cast<size_t>(info.st_size) + kChunk);  // one allocation for regular files
  }
  while (true) {
    out.resize(size + kChunk);
    const size_t got = std::fread(out.data() + size, 1, kChunk, f);
    size += got;
    if (got < kChunk) break;
  }
  out.resize(size);
  if (std::ferror(f)) return Fail(err, TARQ_RETCODE_FILE, 0, "cannot read the file (" + SystemError() + ")");
  return TARQ_RETCODE_OK;
}

// zlib's text for the last error of gz, without the file name it puts in front.
std::string GzipError(gzFile gz, const std::string& path, int& errnum) {
  const char* msg = gzerror(gz, &errnum);
  std::string text = msg != nullptr ? msg : "";
  if (text.rfind(path + ": ", 0) == 0) text.erase(0, path.size() + 2);
  return text.empty() ? "unknown error" : text;
}

// Reads a gzip file to its end. A stream that stops before its end (a truncated file, or one
// holding only a header) or fails its CRC or length check is refused: zlib hands out the data
// before the fault first, so its error state is checked once the data ends.
int ReadGzip(const std::string& path, std::string& out, IoError& err) {
  gzFile gz = gzopen(path.c_str(), "rb");
  if (gz == nullptr) return Fail(err, TARQ_RETCODE_FILE, 0, "cannot open the file (" + SystemError() + ")");
  gzbuffer(gz, 1u << 18);
  constexpr unsigned kChunk = 1u << 20;
  size_t size = 0;
  int got = 0;
  while (true) {
    out.resize(size + kChunk);
    got = gzread(gz, out.data() + size, kChunk);
    if (got <= 0) break;
    size += static_cast<size_t>(got);
  }
  out.resize(size);
  int errnum = Z_OK;
  const std::string why = GzipError(gz, path, errnum);
  gzclose(gz);
  if (errnum == Z_BUF_ERROR) {
    return Fail(err, TARQ_RETCODE_FILE, 0, "the gzip data ends early (the file is truncated)");
  }
  if (errnum == Z_ERRNO) return Fail(err, TARQ_RETCODE_FILE, 0, "cannot read the file (" + why + ")");
  if (got < 0 || errnum != Z_OK) return Fail(err, TARQ_RETCODE_FILE, 0, "corrupt gzip data (" + why + ")");
  return TARQ_RETCODE_OK;
}

}  // namespace

int ReadWholeFile(const std::string& path, std::string& out, IoError& err) {
  out.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return Fail(err, TARQ_RETCODE_FILE, 0, "cannot open the file (" + SystemError() + ")");
  unsigned char magic[2] = {0, 0};
  const size_t got = std::fread(magic, 1, 2, f);
  if (got == 2 && magic[0] == 0x1f && magic[1] == 0x8b) {
    std::fclose(f);
    return ReadGzip(path, out, err);
  }
  out.assign(reinterpret_cast<const char*>(magic), got);
  const int rc = got < 2 && std::ferror(f)
                     ? Fail(err, TARQ_RETCODE_FILE, 0, "cannot read the file (" + SystemError() + ")")
                     : ReadPlain(f, out, err);
  std::fclose(f);
  return rc;
}

OutBuffer::~OutBuffer() { Abandon(); }

namespace {

// The file a path leads to: symbolic links followed (relative targets against the link's
// directory), at most kMaxLinks of them; a path that is no link is returned as it is.
std::string FollowLinks(const std::string& path) {
  namespace fs = std::filesystem;
  constexpr int kMaxLinks = 40;
  fs::path p = path;
  std::error_code ec;
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    if (!fs::is_symlink(fs::symlink_status(p, ec))) break;
    const fs::path target = fs::read_symlink(p, ec);
    if (ec) break;
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  return p.string();
}

}  // namespace

int OutBuffer::Open(const std::string& path, IoError& err) {
  // A new file or a regular one is written beside its final place and moved there by Close (with
  // the old file's permissions); anything else (a FIFO, a device) is written through the path as
  // it is. A symbolic link stays: its target is written.
  const std::string target = FollowLinks(path);
  struct stat info;
  const bool exists = ::stat(target.c_str(), &info) == 0;
  direct_ = exists && !S_ISREG(info.st_mode);
  path_ = direct_ ? path : target;
  tmpPath_ = direct_ ? path : target + ".tarq-partial";
  const bool gzip = path.size() >= 3 && EqualNoCase(std::string_view(path).substr(path.size() - 3), ".gz");
  if (gzip) {
    gz_ = gzopen(tmpPath_.c_str(), "wb");
  } else {
    file_ = std::fopen(tmpPath_.c_str(), "wb");
  }
  if (file_ == nullptr && gz_ == nullptr) {
    return Fail(err, TARQ_RETCODE_FILE, 0, "cannot open the file for writing (" + SystemError() + ")");
  }
  if (exists && !direct_) ::chmod(tmpPath_.c_str(), info.st_mode & 07777);
  return TARQ_RETCODE_OK;
}

bool OutBuffer::CloseFile() {
  bool ok = true;
  if (file_ != nullptr) ok = std::fclose(file_) == 0;
  if (gz_ != nullptr) ok = gzclose(gz_) == Z_OK;
  file_ = nullptr;
  gz_ = nullptr;
  return ok;
}

void OutBuffer::Abandon() {
  if (file_ == nullptr && gz_ == nullptr) return;
  CloseFile();
  if (!direct_) std::remove(tmpPath_.c_str());
}

void OutBuffer::Flush() {
  if (buf_.empty() || (file_ == nullptr && gz_ == nullptr)) return;
  if (!failed_) {
    if (file_ != nullptr) {
      failed_ = std::fwrite(buf_.data(), 1, buf_.size(), file_) != buf_.size();
    } else {
      failed_ = gzwrite(gz_, buf_.data(), static_cast<unsigned>(buf_.size())) != static_cast<int>(buf_.size());
    }
    if (failed_) failErrno_ = errno;
  }
  buf_.clear();
}

int OutBuffer::Close(IoError& err) {
  if (file_ == nullptr && gz_ == nullptr) return TARQ_RETCODE_OK;
  Flush();
  const bool closed = CloseFile();
  if (failed_ || !closed) {
    const std::string why = std::strerror(failed_ ? failErrno_ : errno);
    if (!direct_) std::remove(tmpPath_.c_str());
    return Fail(err, TARQ_RETCODE_FILE, 0, "cannot write the file (" + why + ")");
  }
  if (direct_) return TARQ_RETCODE_OK;
  if (std::rename(tmpPath_.c_str(), path_.c_str()) != 0) {
    const std::string why = SystemError();
    std::remove(tmpPath_.c_str());
    return Fail(err, TARQ_RETCODE_FILE, 0, "cannot move the written file into place (" + why + ")");
  }
  return TARQ_RETCODE_OK;
}

size_t FormatNumber(double v, char* buf) {
  if (std::isinf(v)) {
    std::memcpy(buf, v > 0 ? "inf" : "-inf", v > 0 ? 4 : 5);
    return v > 0 ? 3 : 4;
  }
  auto res = std::to_chars(buf, buf + 32, v);
  return static_cast<size_t>(res.ptr - buf);
}

void OutBuffer::PutNum(double v) {
  char tmp[32];
  Put(std::string_view(tmp, FormatNumber(v, tmp)));
}

void OutBuffer::PutInt(std::int64_t v) {
  char tmp[24];
  auto res = std::to_chars(tmp, tmp + sizeof tmp, v);
  Put(std::string_view(tmp, static_cast<size_t>(res.ptr - tmp)));
}

void OutBuffer::PutPadded(std::string_view s, size_t width) {
  Put(s);
  const size_t pad = s.size() < width ? width - s.size() : 1;
  buf_.append(pad, ' ');
}

size_t OutBuffer::LineLength() const {
  const size_t nl = buf_.rfind('\n');
  return nl == std::string::npos ? buf_.size() : buf_.size() - nl - 1;
}

namespace {

// Roughly the power of ten of a decimal number's magnitude: positive for numbers of 1 or more.
// Only used to tell overflow from underflow.
std::int64_t DecimalOrder(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == '0') ++i;
  std::int64_t order = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++order;
  if (order == 0 && i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] == '0') ++i, --order;
  }
  const size_t e = s.find_first_of("eE");
  if (e != std::string_view::npos) {
    std::int64_t exp = 0;
    bool neg = false;
    size_t k = e + 1;
    if (k < s.size() && (s[k] == '-' || s[k] == '+')) neg = s[k++] == '-';
    for (; k < s.size() && s[k] >= '0' && s[k] <= '9'; ++k) exp = exp < 100000 ? exp * 10 + (s[k] - '0') : exp;
    order += neg ? -exp : exp;
  }
  return order;
}

}  // namespace

bool ParseNumber(std::string_view text, double& value) {
  const char* p = text.data();
  const char* end = p + text.size();
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  if (p == end || *p == '+' || *p == '-') return false;
  auto res = std::from_chars(p, end, value);
  if (res.ptr != end) return false;
  if (res.ec == std::errc::result_out_of_range) {
    value = DecimalOrder(std::string_view(p, static_cast<size_t>(end - p))) > 0 ? HUGE_VAL : 0.0;
  } else if (res.ec != std::errc()) {
    return false;
  }
  if (std::isnan(value)) return false;
  if (negative) value = -value;
  return true;
}

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool LineReader::Next(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  const char* start = text_.data() + pos_;
  const void* nl = std::memchr(start, '\n', text_.size() - pos_);
  size_t len = nl != nullptr ? static_cast<size_t>(static_cast<const char*>(nl) - start) : text_.size() - pos_;
  pos_ += len + 1;
  if (len > 0 && start[len - 1] == '\r') --len;
  line = std::string_view(start, len);
  ++number_;
  return true;
}

namespace {

void LogFailure(const Problem& problem, const char* verb, const char* kind, const std::string& path,
                const IoError& err) {
  if (err.at > 0) {
    problem.Log().Printf("Failed to %s %s file \"%s\": %s %lld: %s", verb, kind, path.c_str(),
                         err.byteOffset ? "byte" : "line", static_cast<long long>(err.at), err.what.c_str());
  } else {
    problem.Log().Printf("Failed to %s %s file \"%s\": %s", verb, kind, path.c_str(), err.what.c_str());
  }
}

}  // namespace

int ReadFormatFile(Problem& problem, const char* filename, const char* kind, ParseFn parse) {
  if (filename == nullptr || *filename == '\0') return TARQ_RETCODE_INVALID;
  const std::string path = problem.Env().Resolve(filename);
  IoError err;
  std::string data;
  int rc = ReadWholeFile(path, data, err);
  if (rc == TARQ_RETCODE_OK) rc = parse(problem, data, err);
  if (rc != TARQ_RETCODE_OK) LogFailure(problem, "read", kind, path, err);
  return rc;
}

int WriteFormatFile(Problem& problem, const char* filename, const char* kind, WriteFn write) {
  if (filename == nullptr || *filename == '\0') return TARQ_RETCODE_INVALID;
  const std::string path = problem.Env().Resolve(filename);
  IoError err;
  OutBuffer out;
  int rc = out.Open(path, err);
  if (rc == TARQ_RETCODE_OK) rc = write(problem, out, err);
  if (rc == TARQ_RETCODE_OK) {
    rc = out.Close(err);
  } else {
    out.Abandon();
  }
  if (rc != TARQ_RETCODE_OK) LogFailure(problem, "write", kind, path, err);
  return rc;
}

}  // namespace tarq_solver
