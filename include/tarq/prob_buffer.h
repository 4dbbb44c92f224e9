// A growable byte array that receives a problem written as MPS text.
#pragma once

#include <cstdint>

namespace Tarq {

class IProbBuffer {
 public:
  virtual ~IProbBuffer() = default;
  virtual char* GetData() = 0;
  // Length in bytes, the terminating zero included.
  virtual std::uint64_t GetSize() const = 0;
  // Makes the length size + 1 (new bytes zero, shrinking cuts) and zeroes the last byte.
  virtual void Resize(std::uint64_t size) = 0;
};

}  // namespace Tarq
