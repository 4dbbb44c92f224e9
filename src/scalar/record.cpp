#include "scalar/record.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <cstring>
#include <memory>

#include "frame/huge_alloc.h"

namespace Tarq::detail {

[[gnu::tls_model("initial-exec")]] thread_local LastHolder lastHolder;

std::uint32_t NextEpoch() noexcept {
  static std::atomic<std::uint64_t> counter{0};
  const std::uint64_t next = counter.fetch_add(1, std::memory_order_relaxed) + 1;
  return next <= std::numeric_limits<std::uint32_t>::max() ? static_cast<std::uint32_t>(next) : 0;
}

RecordName& RecordName::operator=(const char* text) {
  if (text == nullptr || text[0] == '\0') {
    text_.reset();
    return *this;
  }
  const std::size_t n = std::strlen(text) + 1;
  auto copy = std::make_unique<char[]>(n);
  std::memcpy(copy.get(), text, n);
  text_ = std::move(copy);
  return *this;
}

// Constant-initialised, so it exists before any other static object of the library is made.
constinit ObjectRecord failedRecord;

void HolderPins::PinMore(HolderBlock* h) {
  if (!more_) more_ = std::make_unique<std::vector<HolderBlock*>>();
  if (std::find(more_->begin(), more_->end(), h) != more_->end()) return;
  more_->push_back(h);
  h->Retain();
}

void HolderPins::RetainAll() noexcept {
  if (one_ != nullptr) one_->Retain();
  if (more_) {
    for (HolderBlock* h : *more_) h->Retain();
  }
}

void HolderPins::ReleaseAll() noexcept {
  if (more_) {
    for (HolderBlock* h : *more_) h->Release();
  }
  if (one_ != nullptr) one_->Release();
}

// Records come in chunks that never move; each chunk is twice the size of the one before, up
// to kMaxChunk records (2 MB, one huge page, see huge_alloc.h), so small models stay small.
struct RecordStore::Chunk {
  static constexpr std::size_t kFirstChunk = 64;
  static constexpr std::size_t kMaxChunk = kHugePage / sizeof(ObjectRecord);
  explicit Chunk(std::size_t n) : records(HugeAllocator<ObjectRecord>().allocate(n)), size(n) {
    std::uninitialized_default_construct_n(records, n);
  }
  Chunk(const Chunk&) = delete;
  Chunk& operator=(const Chunk&) = delete;
  ~Chunk() {
    std::destroy_n(records, size);
    HugeAllocator<ObjectRecord>().deallocate(records, size);
  }
  ObjectRecord* records;
  std::size_t size;
};

RecordStore::RecordStore() = default;
RecordStore::~RecordStore() = default;

ObjectRecord* RecordStore::New() {
  if (!free_.empty()) {
    ObjectRecord* rec = free_.back();
    free_.pop_back();
    return rec;
  }
  if (chunks_.empty() || usedInLast_ == chunks_.back()->size) {
    const std::size_t n = chunks_.empty() ? Chunk::kFirstChunk : std::min(2 * chunks_.back()->size, Chunk::kMaxChunk);
    chunks_.push_back(std::make_unique<Chunk>(n));
    usedInLast_ = 0;
  }
  return &chunks_.back()->records[usedInLast_++];
}

void RecordStore::RecycleRetired() {
  free_.reserve(free_.size() + retired_.size());
  for (ObjectRecord* rec : retired_) {
    rec->name = nullptr;
    rec->index = kFailedIndex;
    free_.push_back(rec);
  }
  retired_.clear();
  retired_.shrink_to_fit();
}

}  // namespace Tarq::detail
