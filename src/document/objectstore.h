#pragma once
// Where the graphics model keeps its objects: a pool of objects in blocks
// that never move, and an index from handle to place. A 2D plot holds one
// object per point, so a data set of 1,000 specimens of 500 landmarks puts
// half a million objects in the store and clears them again.
//
// Handles are whole numbers given out one after another, so the index is
// cut into pages of 1,024 consecutive handles: finding an object is a
// lookup among the few pages in use and a read of the page, and objects
// made one after another sit side by side. A page goes when its last object
// does, and a place in the pool is reused once freed. Handles that are not
// whole numbers of at most 2^52 would be kept apart, in a tree.
//
// References to stored objects stay valid until their object is erased,
// whatever else is inserted or erased meanwhile. A free place in the pool
// holds no object: erasing one and clearing the store touch the objects
// there are, not the room the pool has.
//
// Example:
//   ObjectStore store;
//   GraphicsObject line;
//   line.handle = 1000;
//   store.insert(std::move(line));
//   GraphicsObject* found = store.find(1000);   // nullptr once erased
//   store.erase(1000);

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

#include "document/handle.h"

namespace tarvolin {

struct GraphicsObject;

template <typename Object>
class BasicObjectStore {
 public:
  BasicObjectStore() = default;
  // The objects move with their pool; the store moved from is left empty.
  BasicObjectStore(BasicObjectStore&& other) noexcept
      : pool_(std::exchange(other.pool_, {})),
        poolSize_(std::exchange(other.poolSize_, 0)),
        freePlaces_(std::exchange(other.freePlaces_, {})),
        pages_(std::exchange(other.pages_, {})),
        recent_(std::exchange(other.recent_, {})),
        others_(std::exchange(other.others_, {})),
        count_(std::exchange(other.count_, 0)) {}
  BasicObjectStore& operator=(BasicObjectStore&&) = delete;
  ~BasicObjectStore();

  // Stores `object` under its handle, which must not be stored yet.
  Object& insert(Object&& object);
  // The object of handle h, or nullptr.
  Object* find(Handle h);
  const Object* find(Handle h) const;
  bool contains(Handle h) const { return find(h) != nullptr; }
  // Erases the object of handle h; does nothing when there is none.
  void erase(Handle h);
  std::size_t size() const { return count_; }

 private:
  static constexpr std::uint32_t kEmpty = 0xffffffffu;
  static constexpr int kPageBits = 10;
  struct Page {
    std::array<std::uint32_t, std::size_t{1} << kPageBits> places;
    std::uint32_t used = 0;
    Page() { places.fill(kEmpty); }
  };
  static constexpr int kChunkBits = 10;
  // The place of h in the pool, or kEmpty.
  std::uint32_t placeOf(Handle h) const;
  // The page of index entries holding `number` (h >> kPageBits), or nullptr.
  Page* pageOf(std::uint64_t number) const;
  // Room for one object.
  struct alignas(Object) Room {
    unsigned char bytes[sizeof(Object)];
  };
  Object& at(std::uint32_t place) const {
    return *std::launder(reinterpret_cast<Object*>(
        pool_[place >> kChunkBits][place & ((1u << kChunkBits) - 1)].bytes));
  }
  void* roomAt(std::uint32_t place) const {
    return pool_[place >> kChunkBits][place & ((1u << kChunkBits) - 1)].bytes;
  }

  // Room for the objects, in chunks of 1,024 that never move.
  std::vector<std::unique_ptr<Room[]>> pool_;
  std::uint32_t poolSize_ = 0;  // places handed out so far
  std::vector<std::uint32_t> freePlaces_;
  std::unordered_map<std::uint64_t, std::unique_ptr<Page>> pages_;
  // The pages found last, by page number: lookups come in runs on a few
  // pages (a window and its axes, the points of one plot).
  static constexpr std::size_t kRecent = 4;
  struct Recent {
    std::uint64_t number = 0;
    Page* page = nullptr;
  };
  mutable std::array<Recent, kRecent> recent_{};
  std::map<Handle, std::uint32_t> others_;  // handles that are not whole numbers
  std::size_t count_ = 0;
};

using ObjectStore = BasicObjectStore<GraphicsObject>;

}  // namespace tarvolin
