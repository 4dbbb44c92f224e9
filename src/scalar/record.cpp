#include "scalar/record.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "frame/huge_alloc.h"

namespace Tarq::detail {

[[gnu::tls_model("initial-exec")]] thread_local LastHolder lastHolder;

std::uint32_t NextEpoch() noexcept {
  static std::atomic<std::uint64_t> counter{0};
  const std::uint64_t next = counter.fetch_add(1, std::memory_order_relaxed) + 1;
  return next <= std::numeric_limits<std::uint32_t>::max() ? static_cast<std::uint32_t>(next) : 0;
}

RecordName& RecordName::Assign(const char* text) {
  const std::size_t n = std::strlen(text) + 1;
  auto copy = std::make_unique<char[]>(n);
  std::memcpy(copy.get(), text, n);
  text_ = std::move(copy);
  return *this;
}

// Constant-initialised, so it exists before any other static object of the library is made; a
// page of its own, whose head names no holder.
alignas(kRecordPage) constinit FailedRecordPage failedRecordPage;

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

// Records come in chunks of whole pages that never move; each chunk is twice the size of the
// one before, up to 2 MB (one huge page, see huge_alloc.h), so small models stay small. A chunk is
// aligned to its page size, and every page starts with the holder's name (RecordPageHead).
struct RecordStore::Chunk {
  static constexpr std::size_t kPerPage = kRecordPage / sizeof(ObjectRecord) - 1;
  static constexpr std::size_t kMaxPages = kHugePage / kRecordPage;

  Chunk(std::size_t pageCount, HolderBlock* holder) : pages(pageCount) {
    const std::size_t bytes = pages * kRecordPage;
    base = bytes >= kLongBlock ? static_cast<unsigned char*>(MapHuge(bytes))
                               : static_cast<unsigned char*>(std::aligned_alloc(kRecordPage, bytes));
    if (base == nullptr) throw std::bad_alloc();
    for (std::size_t p = 0; p < pages; ++p) {
      new (Page(p)) RecordPageHead{holder};
      std::uninitialized_default_construct_n(First(p), kPerPage);
    }
  }
  Chunk(const Chunk&) = delete;
  Chunk& operator=(const Chunk&) = delete;
  ~Chunk() {
    for (std::size_t p = 0; p < pages; ++p) std::destroy_n(First(p), kPerPage);
    const std::size_t bytes = pages * kRecordPage;
    if (bytes >= kLongBlock) {
      UnmapHuge(base, bytes);
    } else {
      std::free(base);
    }
  }
  unsigned char* Page(std::size_t p) const { return base + p * kRecordPage; }
  ObjectRecord* First(std::size_t p) const {
    return std::launder(reinterpret_cast<ObjectRecord*>(Page(p) + sizeof(RecordPageHead)));
  }

  unsigned char* base;
  std::size_t pages;
};

RecordStore::RecordStore() = default;
RecordStore::~RecordStore() = default;

ObjectRecord* RecordStore::New(HolderBlock* holder) {
  if (!free_.empty()) {
    ObjectRecord* rec = free_.back();
    free_.pop_back();
    return rec;
  }
  if (next_ == pageEnd_) NextPage(holder);
  return next_++;
}

void RecordStore::NextPage(HolderBlock* holder) {
  if (chunks_.empty() || pageInLast_ + 1 == chunks_.back()->pages) {
    const std::size_t pages = chunks_.empty() ? 1 : std::min(2 * chunks_.back()->pages, Chunk::kMaxPages);
    chunks_.push_back(std::make_unique<Chunk>(pages, holder));
    pageInLast_ = 0;
  } else {
    ++pageInLast_;
  }
  next_ = chunks_.back()->First(pageInLast_);
  pageEnd_ = next_ + Chunk::kPerPage;
}

ObjectRecord* RecordStore::NewRun(HolderBlock* holder, std::size_t want, std::size_t& got) {
  got = 1;
  if (!free_.empty() || want <= 1) return New(holder);
  if (next_ == pageEnd_) NextPage(holder);
  got = std::min(want, static_cast<std::size_t>(pageEnd_ - next_));  // the rest of this page
  ObjectRecord* first = next_;
  next_ += got;
  return first;
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
