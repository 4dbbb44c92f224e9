#include "model/prob_buffer.h"
#include "tarq/exports.h"

// size + 1 zero bytes; a negative size gives an empty array.
extern "C" Tarq::IProbBuffer* CreateProbBuffer(int size) {
  const std::size_t bytes = size >= 0 ? static_cast<std::size_t>(size) + 1 : 0;
  return new TarqProbBuffer(Tarq::detail::BlockRef<std::vector<char>>::Make(bytes, '\0'));
}
