// The owner of a model's solver problem and of the records of its objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "tarq.h"

namespace Tarq::detail {

class ObjectRecord;
template <class T>
struct HandleBlock;
struct ProblemHolder;

// Epochs come from one counter for the whole process, so an epoch names one holder at one moment:
// an index remembered with epoch e is current exactly while its holder's epoch is still e, and no
// other holder ever has e. 0 is never a holder's epoch while the counter lasts; once it has run
// out (after 2^32 - 1 changes in one process) every new epoch is 0, and an index remembered with
// epoch 0 is never trusted.
std::uint32_t NextEpoch() noexcept;

// Owns the records of one model's objects: allocated in chunks, never moved, all freed with the
// store. Records the model no longer lists (removed and deleted, cleared, replaced by a read) are
// retired; they are recycled for new objects only when nothing outside the model can still refer
// to them, which the model tells by the holder's reference count (RecycleRetired).
class RecordStore {
 public:
  RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;
  ~RecordStore();

  // A fresh record (index -2, no name). holder is the block of the holder this store lives in
  // (the same on every call): the pages of the records name it.
  ObjectRecord* New(HandleBlock<ProblemHolder>* holder);
  // Up to `want` (>= 1) fresh records lying next to each other, for objects added together:
  // returns the first and sets `got` (1 when a recycled record is handed out).
  ObjectRecord* NewRun(HandleBlock<ProblemHolder>* holder, std::size_t want, std::size_t& got);
  void Retire(ObjectRecord* rec) { retired_.push_back(rec); }
  // Makes every retired record available again. Only call it when no reference from outside
  // the model exists (no variable, constraint or expression of the model is held anywhere).
  void RecycleRetired();
  std::size_t Retired() const noexcept { return retired_.size(); }

 private:
  struct Chunk;
  // Moves on to the next page of the last chunk, or to a new chunk after its last page.
  void NextPage(HandleBlock<ProblemHolder>* holder);
  std::vector<std::unique_ptr<Chunk>> chunks_;
  std::size_t pageInLast_ = 0;          // the page of the last chunk records come from
  ObjectRecord* next_ = nullptr;        // the next fresh record on that page
  ObjectRecord* pageEnd_ = nullptr;     // the end of that page's records
  std::vector<ObjectRecord*> free_;
  std::vector<ObjectRecord*> retired_;
};

// Every object record of the model lives in this holder's store and every reference to a record
// counts on this holder, so the problem lives until the last object of the model is gone.
struct ProblemHolder {
  bool pending = false;  // an object is marked removed and not yet deleted
  // Renewed (NextEpoch) whenever an object's index may have changed (a removal, a deletion, a
  // clear, a read); an index remembered together with the epoch it was read in is current while
  // they match and are not 0.
  std::uint32_t epoch = NextEpoch();
  tarq_prob* problem = nullptr;
  RecordStore records;

  ProblemHolder() = default;
  ProblemHolder(const ProblemHolder&) = delete;
  ProblemHolder& operator=(const ProblemHolder&) = delete;
  ~ProblemHolder() {
    if (problem != nullptr) TARQ_DeleteProb(&problem);
  }
};

}  // namespace Tarq::detail
