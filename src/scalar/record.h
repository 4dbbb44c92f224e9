// The record behind every modeling object of a model (variable, constraint, ...): shared by the
// model's list of its kind and by every caller-held copy, so renumbering is seen everywhere.
//
// Memory model: records live in the record store of their model's problem holder and are freed
// with it (or recycled once nothing outside the model can refer to them, see RecordStore). The
// store lays records out in 4 KB pages whose first 16 bytes name the holder, so a record is its
// name and index only (16 bytes) and finds its holder through the start of its page. A RecordRef
// is a record pointer plus one counted reference on that holder, so copying one never touches the
// record itself; expressions keep bare record pointers and pin the holder once per expression
// (see HolderPins).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frame/handle.h"
#include "model/problem_holder.h"

namespace Tarq::detail {

// Index conventions: >= 0 position among its kind; -2 failed add or lookup; -3 - k removed from
// position k (kept for good, so messages can name the old position).
constexpr int kFailedIndex = -2;
inline int RemovedIndex(int pos) { return -3 - pos; }
inline int FormerPosition(int index) { return -3 - index; }

using HolderBlock = HandleBlock<ProblemHolder>;

// A name held by a record: one pointer, null while the object has none (most objects in large
// models), so a record stays small.
class RecordName {
 public:
  bool empty() const noexcept { return text_ == nullptr || text_[0] == '\0'; }
  const char* c_str() const noexcept { return text_ != nullptr ? text_.get() : ""; }
  // An empty or null text leaves no name (without a call: most objects are unnamed).
  RecordName& operator=(const char* text) {
    if (text == nullptr || text[0] == '\0') {
      text_.reset();
      return *this;
    }
    return Assign(text);
  }
  RecordName& operator=(const std::string& text) { return *this = text.c_str(); }

 private:
  RecordName& Assign(const char* text);  // a copy of a non-empty text
  std::unique_ptr<char[]> text_;
};

// Records sit in pages of kRecordPage bytes, aligned to their size; the page's first slot holds
// the holder of every record on it (null on the page of the failed record).
constexpr std::size_t kRecordPage = 4096;

class ObjectRecord {
 public:
  ObjectRecord() = default;
  // A record is found by its address (its page names its holder): it is never copied or moved.
  ObjectRecord(const ObjectRecord&) = delete;
  ObjectRecord& operator=(const ObjectRecord&) = delete;

  // The holder this record belongs to, not counted (the store that owns the record lives in it);
  // null for the failed record.
  HolderBlock* Holder() const noexcept;
  ProblemHolder* Problem() const noexcept {
    HolderBlock* h = Holder();
    return h != nullptr ? h->object : nullptr;
  }

  RecordName name;  // normalised name, or the name fetched from the solver
  int index = kFailedIndex;
};
static_assert(sizeof(ObjectRecord) == 16);

// The head of a record page: the holder, padded to one record slot.
struct alignas(16) RecordPageHead {
  HolderBlock* holder = nullptr;
};
static_assert(sizeof(RecordPageHead) == sizeof(ObjectRecord));

inline HolderBlock* ObjectRecord::Holder() const noexcept {
  const auto page = reinterpret_cast<std::uintptr_t>(this) & ~std::uintptr_t{kRecordPage - 1};
  return reinterpret_cast<const RecordPageHead*>(page)->holder;
}

// Marks a record removed from its position (once) and tells its model that a deletion is
// pending; a record with a negative index is left alone.
inline void MarkRecordRemoved(ObjectRecord& r) {
  if (r.index < 0) return;
  r.index = RemovedIndex(r.index);
  ProblemHolder* p = r.Problem();
  p->pending = true;
  p->epoch = NextEpoch();
}

// The one record standing for nothing (index -2), shared by every failed object, alone on a page
// without holder. Nothing writes to it: every writer checks for a non-negative index first.
struct FailedRecordPage {
  RecordPageHead head;
  ObjectRecord record;
};
extern FailedRecordPage failedRecordPage;
inline ObjectRecord* FailedRecordPtr() noexcept { return &failedRecordPage.record; }

// A record with one counted reference on its holder (the holder the record names), eight bytes:
// the holder is found through the record when the reference is taken or given back. The default
// one is the failed record, which has no holder.
class RecordRef {
 public:
  RecordRef() noexcept : rec_(FailedRecordPtr()) {}
  explicit RecordRef(ObjectRecord* rec) noexcept : rec_(rec) { Retain(); }
  // Takes over a reference on the record's holder that the caller has already counted (see
  // HandleBlock::Retain(n)).
  struct Adopt {};
  RecordRef(ObjectRecord* rec, Adopt) noexcept : rec_(rec) {}
  RecordRef(const RecordRef& o) noexcept : rec_(o.rec_) { Retain(); }
  RecordRef(RecordRef&& o) noexcept : rec_(std::exchange(o.rec_, FailedRecordPtr())) {}
  RecordRef& operator=(RecordRef o) noexcept {
    std::swap(rec_, o.rec_);
    return *this;
  }
  ~RecordRef() {
    if (HolderBlock* h = rec_->Holder()) h->Release();
  }

  ObjectRecord* Get() const noexcept { return rec_; }
  ObjectRecord* operator->() const noexcept { return rec_; }
  ObjectRecord& operator*() const noexcept { return *rec_; }
  HolderBlock* Holder() const noexcept { return rec_->Holder(); }

 private:
  void Retain() const noexcept {
    if (HolderBlock* h = rec_->Holder()) h->Retain();
  }

  ObjectRecord* rec_;
};

// A record standing for nothing (index -2), as returned after a failed add or lookup.
inline RecordRef FailedRecord() { return RecordRef(); }

// The holder this thread last found through a record, with the epoch it had then. Epochs name one
// holder each (NextEpoch), so an object whose remembered epoch equals this one belongs to that
// holder, which is alive while the object is: the holder is known without reading the record.
struct LastHolder {
  HolderBlock* holder = nullptr;
  std::uint32_t epoch = 0;
};
[[gnu::tls_model("initial-exec")]] extern thread_local LastHolder lastHolder;

// Counted references on the holders of the records an expression refers to: nearly always one.
// Copies retain, destruction releases.
class HolderPins {
 public:
  HolderPins() = default;
  HolderPins(const HolderPins& o) : one_(o.one_), more_(o.more_ ? std::make_unique<std::vector<HolderBlock*>>(*o.more_) : nullptr) {
    RetainAll();
  }
  HolderPins(HolderPins&& o) noexcept : one_(std::exchange(o.one_, nullptr)), more_(std::move(o.more_)) {}
  HolderPins& operator=(const HolderPins& o) {
    if (this != &o && !(one_ == o.one_ && !more_ && !o.more_)) *this = HolderPins(o);
    return *this;
  }
  HolderPins& operator=(HolderPins&& o) noexcept {
    if (this != &o) {
      ReleaseAll();
      one_ = std::exchange(o.one_, nullptr);
      more_ = std::move(o.more_);
    }
    return *this;
  }
  ~HolderPins() { ReleaseAll(); }

  // Pins the holder unless it is pinned already; a null holder (the failed record) needs none.
  void Pin(HolderBlock* h) {
    if (h == one_ || h == nullptr) return;
    if (one_ == nullptr) {
      one_ = h;
      h->Retain();
      return;
    }
    PinMore(h);
  }
  void Pin(const HolderPins& o) {
    Pin(o.one_);
    if (o.more_) {
      for (HolderBlock* h : *o.more_) Pin(h);
    }
  }
  // The first holder pinned (the one nearly every term of an expression has), or null.
  const HolderBlock* FirstHolder() const noexcept { return one_; }
  // True when every pinned holder is h (or nothing is pinned).
  bool OnlyHolder(const HolderBlock* h) const noexcept { return (one_ == nullptr || one_ == h) && !more_; }
  void Clear() noexcept {
    ReleaseAll();
    one_ = nullptr;
    more_.reset();
  }

 private:
  void PinMore(HolderBlock* h);
  void RetainAll() noexcept;
  void ReleaseAll() noexcept;

  HolderBlock* one_ = nullptr;
  std::unique_ptr<std::vector<HolderBlock*>> more_;  // further holders, each pinned once
};

}  // namespace Tarq::detail
