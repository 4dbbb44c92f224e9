// TarqProbBuffer: the implementation of Tarq::IProbBuffer.
#pragma once

#include <vector>

#include "frame/handle.h"
#include "tarq/prob_buffer.h"

class TarqProbBuffer final : public Tarq::detail::Handled<Tarq::IProbBuffer, std::vector<char>> {
 public:
  using Handled::Handled;
  char* GetData() override { return Data().data(); }
  std::uint64_t GetSize() const override { return Data().size(); }
  void Resize(std::uint64_t size) override {
    Data().resize(static_cast<std::size_t>(size) + 1, '\0');
    Data().back() = '\0';
  }
};
