// Pieces of the binary format shared by its sections: writing arrays and tagged sections, and
// a reader that checks every count against the bytes left before it allocates.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "io/io_common.h"
#include "store/name_table.h"

namespace tarq_solver::bin {

template <class Vec>
void PutArray(OutBuffer& out, const Vec& v) {
  using T = typename Vec::value_type;
  out.PutBytes(v.data(), v.size() * sizeof(T));
}

// Appends one section; `body` writes the payload into a scratch buffer first to know its size.
template <class Body>
void Section(OutBuffer& out, std::uint32_t tag, Body&& body) {
  OutBuffer payload;
  body(payload);
  out.PutRaw(tag);
  out.PutRaw(std::uint32_t{0});
  out.PutRaw(static_cast<std::uint64_t>(payload.Text().size()));
  out.Put(payload.Text());
}

class ByteReader {
 public:
  ByteReader(std::string_view data, IoError& err) : data_(data), err_(err) {}

  size_t Pos() const { return pos_; }
  size_t Left() const { return data_.size() - pos_; }
  int Error(std::string what) { return Fail(err_, TARQ_RETCODE_INVALID, static_cast<std::int64_t>(pos_), std::move(what)); }

  template <class T>
  int Read(T& v) {
    if (Left() < sizeof(T)) return Error("the file ends early");
    std::memcpy(&v, data_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return TARQ_RETCODE_OK;
  }
  // Reads count elements, checking first that the file holds them.
  template <class Vec>
  int ReadArray(Vec& v, std::int64_t count) {
    using T = typename Vec::value_type;
    if (count < 0 || static_cast<std::uint64_t>(count) > Left() / sizeof(T)) return Error("the file ends early");
    v.resize(static_cast<size_t>(count));
    if (count > 0) std::memcpy(v.data(), data_.data() + pos_, static_cast<size_t>(count) * sizeof(T));
    pos_ += static_cast<size_t>(count) * sizeof(T);
    return TARQ_RETCODE_OK;
  }
  int ReadBytes(std::string_view& s, size_t count) {
    if (count > Left()) return Error("the file ends early");
    s = data_.substr(pos_, count);
    pos_ += count;
    return TARQ_RETCODE_OK;
  }

 private:
  std::string_view data_;
  IoError& err_;
  size_t pos_ = 0;
};

// Names of a kind: u8 any named; when 1, u32 length per object, then the names' bytes (length
// 0: unnamed). ReadNames fills block with the names, each followed by a zero, and names with
// pointers into it (empty when none is named).
void PutNames(OutBuffer& out, const NameTable& names);
int ReadNames(ByteReader& in, std::int32_t count, std::string& block, std::vector<const char*>& names);

}  // namespace tarq_solver::bin
