#include "io/bin_io.h"

namespace tarq_solver::bin {

#define BIN_TRY(expr)                                         \
  do {                                                        \
    if (int rc_ = (expr); rc_ != TARQ_RETCODE_OK) return rc_; \
  } while (0)

void PutNames(OutBuffer& out, const NameTable& names) {
  const std::uint8_t named = names.AnyNamed() ? 1 : 0;
  out.PutRaw(named);
  if (!named) return;
  for (int k = 0; k < names.Size(); ++k) out.PutRaw(static_cast<std::uint32_t>(names.Explicit(k).size()));
  for (int k = 0; k < names.Size(); ++k) out.Put(names.Explicit(k));
}

int ReadNames(ByteReader& in, std::int32_t count, std::string& block, std::vector<const char*>& names) {
  std::uint8_t named = 0;
  BIN_TRY(in.Read(named));
  if (named > 1) return in.Error("invalid name flag");
  if (!named) return TARQ_RETCODE_OK;
  std::vector<std::uint32_t> len;
  BIN_TRY(in.ReadArray(len, count));
  std::uint64_t total = 0;
  for (std::uint32_t l : len) total += l;
  std::string_view bytes;
  if (total > in.Left()) return in.Error("the file ends early");
  BIN_TRY(in.ReadBytes(bytes, static_cast<size_t>(total)));
  if (bytes.find('\0') != std::string_view::npos) return in.Error("a name contains a zero byte");
  block.reserve(static_cast<size_t>(total) + len.size());
  std::vector<size_t> offset;
  offset.reserve(len.size());
  size_t at = 0;
  for (std::uint32_t l : len) {
    offset.push_back(block.size());
    block.append(bytes.substr(at, l));
    block.push_back('\0');
    at += l;
  }
  names.reserve(len.size());
  for (size_t off : offset) names.push_back(block.data() + off);
  return TARQ_RETCODE_OK;
}

#undef BIN_TRY

}  // namespace tarq_solver::bin
