// What every file reader and writer of the solver library shares: reading a whole file (plain
// or gzip-compressed), an output buffer that writes plain or gzip files or stays in memory,
// number text in both directions, and the drivers that resolve a file name, run a format's parse
// or write function and log the one line that says what went wrong.
//
// Codes: 2 when a file cannot be opened, read (including corrupt gzip data) or written; 3 when
// its content does not parse or does not describe a valid problem, and for invalid arguments.
// A reader parses into temporaries and changes the problem only when everything parsed.
#pragma once

#include "core/text.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "store/problem.h"

namespace tarq_solver {

// Why reading or writing failed, and where: a 1-based line of a text file or a byte offset of a
// binary file; 0 when no position applies (a file that cannot be opened).
struct IoError {
  int code = TARQ_RETCODE_OK;
  std::int64_t at = 0;
  bool byteOffset = false;
  std::string what;
};

// Records a failure in err and returns its code.
int Fail(IoError& err, int code, std::int64_t at, std::string what);

// Quotes a piece of input for a message, cut to 40 characters, non-printable bytes as '?'.
std::string Quote(std::string_view text);

// Reads the whole file; data that begins with the gzip magic bytes is decompressed. Returns 0,
// or 2 with err set.
int ReadWholeFile(const std::string& path, std::string& out, IoError& err);

// Output kept in memory or sent to a file in large blocks; a path ending in ".gz" is written
// gzip-compressed. A new file or an existing regular one gets the data through a temporary file
// beside it, which Close renames into place (keeping the old file's permissions); a write that
// is abandoned (or fails) removes it, so a failed write never leaves a partial file or clobbers
// an existing one. A symbolic link is followed: its target is written and the link stays. A path
// that is neither (a FIFO, a device such as /dev/null) is written through as it is, since
// replacing it would destroy it; a failed write there cannot be undone. Write errors are
// remembered and reported by Close.
class OutBuffer {
 public:
  OutBuffer() = default;
  OutBuffer(const OutBuffer&) = delete;
  OutBuffer& operator=(const OutBuffer&) = delete;
  ~OutBuffer();

  // Opens path for writing; returns 0 or 2 with err set.
  int Open(const std::string& path, IoError& err);
  // Flushes, closes and moves the file into place; returns 0 or 2 with err set. In-memory
  // buffers return 0.
  int Close(IoError& err);
  // Closes and removes the file without moving it into place.
  void Abandon();

  void Put(std::string_view s) {
    buf_.append(s);
    if (buf_.size() >= kBlock) Flush();
  }
  void Put(char c) { buf_.push_back(c); }
  // Shortest decimal text that reads back to exactly v; infinities as "inf" and "-inf".
  void PutNum(double v);
  void PutInt(std::int64_t v);
  // s followed by blanks up to width characters (at least one blank when s is as long).
  void PutPadded(std::string_view s, size_t width);
  void PutBytes(const void* data, size_t size) { Put(std::string_view(static_cast<const char*>(data), size)); }
  template <class T>
  void PutRaw(const T& v) {
    PutBytes(&v, sizeof v);
  }

  // Characters written since the last newline (meaningful for text only).
  size_t LineLength() const;
  // The text of an in-memory buffer.
  std::string& Text() { return buf_; }

 private:
  static constexpr size_t kBlock = size_t{1} << 20;
  void Flush();
  bool CloseFile();

  std::string buf_;
  std::FILE* file_ = nullptr;
  gzFile gz_ = nullptr;
  bool failed_ = false;
  bool direct_ = false;  // written through the path, without a temporary file
  int failErrno_ = 0;
  std::string path_;
  std::string tmpPath_;
};

// Writes the shortest decimal text of v into buf (at least 32 bytes); returns its length.
size_t FormatNumber(double v, char* buf);

// Parses a whole token as a number: an optional sign, then what std::from_chars accepts
// (including "inf" and "infinity"). Returns false for anything else, and for NaN.
bool ParseNumber(std::string_view text, double& value);

// True for the blanks that separate fields: space, tab, CR, vertical tab and form feed.
inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
std::string_view Trim(std::string_view s);

// Walks a text line by line without copying; lines lose their line break and a trailing CR.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line);
  std::int64_t Number() const { return number_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  std::int64_t number_ = 0;
};

// Splits a line at blanks into at most N fields; returns the number of fields found, or N + 1
// when there are more.
template <size_t N>
size_t SplitFields(std::string_view line, std::string_view (&out)[N]) {
  size_t count = 0, i = 0;
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return count;
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (count == N) return N + 1;
    out[count++] = line.substr(start, i - start);
  }
}

// A format's parse function: on success it has replaced (part of) the problem; on failure it
// has changed nothing and filled err.
using ParseFn = int (*)(Problem& problem, std::string_view data, IoError& err);
// A format's write function.
using WriteFn = int (*)(Problem& problem, OutBuffer& out, IoError& err);

// Reads filename (resolved against the environment's home directory) with parse. Logs one line
// naming the kind ("MPS"), the file, the position and the fault when it fails.
int ReadFormatFile(Problem& problem, const char* filename, const char* kind, ParseFn parse);
// Writes filename with write; logs one line on failure.
int WriteFormatFile(Problem& problem, const char* filename, const char* kind, WriteFn write);

}  // namespace tarq_solver
