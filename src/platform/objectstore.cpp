#include "objectstore.h"

#include <cmath>
#include <stdexcept>
#include <utility>

#include "graphics.h"

namespace tarvolin {
namespace {

// Whole numbers from 0 to 2^52 are paged; -0 counts as 0.
bool paged(Handle h) { return h >= 0 && h <= 4503599627370496.0 && std::floor(h) == h; }

}  // namespace

template <typename Object>
std::uint32_t BasicObjectStore<Object>::placeOf(Handle h) const {
  if (!paged(h)) {
    const auto found = others_.find(h);
    return found == others_.end() ? kEmpty : found->second;
  }
  const auto whole = static_cast<std::uint64_t>(h);
  const auto page = pages_.find(whole >> kPageBits);
  if (page == pages_.end()) return kEmpty;
  return page->second->places[whole & ((std::uint64_t{1} << kPageBits) - 1)];
}

template <typename Object>
Object& BasicObjectStore<Object>::insert(Object object) {
  const Handle h = object.handle;
  std::uint32_t* slot = nullptr;
  if (paged(h)) {
    const auto whole = static_cast<std::uint64_t>(h);
    std::unique_ptr<Page>& page = pages_[whole >> kPageBits];
    if (!page) page = std::make_unique<Page>();
    slot = &page->places[whole & ((std::uint64_t{1} << kPageBits) - 1)];
    if (*slot != kEmpty) throw std::logic_error("object store: handle stored twice");
    ++page->used;
  } else {
    const auto [at, inserted] = others_.emplace(h, kEmpty);
    if (!inserted) throw std::logic_error("object store: handle stored twice");
    slot = &at->second;
  }
  if (!freePlaces_.empty()) {
    *slot = freePlaces_.back();
    freePlaces_.pop_back();
    pool_[*slot] = std::move(object);
  } else {
    *slot = static_cast<std::uint32_t>(pool_.size());
    pool_.push_back(std::move(object));
  }
  ++count_;
  return pool_[*slot];
}

template <typename Object>
Object* BasicObjectStore<Object>::find(Handle h) {
  return const_cast<Object*>(std::as_const(*this).find(h));
}

template <typename Object>
const Object* BasicObjectStore<Object>::find(Handle h) const {
  const std::uint32_t place = placeOf(h);
  return place == kEmpty ? nullptr : &pool_[place];
}

template <typename Object>
void BasicObjectStore<Object>::erase(Handle h) {
  std::uint32_t place = kEmpty;
  if (paged(h)) {
    const auto whole = static_cast<std::uint64_t>(h);
    const auto page = pages_.find(whole >> kPageBits);
    if (page == pages_.end()) return;
    std::uint32_t& slot = page->second->places[whole & ((std::uint64_t{1} << kPageBits) - 1)];
    if (slot == kEmpty) return;
    place = std::exchange(slot, kEmpty);
    if (--page->second->used == 0) pages_.erase(page);
  } else {
    const auto found = others_.find(h);
    if (found == others_.end()) return;
    place = found->second;
    others_.erase(found);
  }
  pool_[place] = Object();  // gives back what the object held
  freePlaces_.push_back(place);
  --count_;
  // An empty store gives its blocks back.
  if (count_ == 0) {
    pool_.clear();
    pool_.shrink_to_fit();
    freePlaces_.clear();
    freePlaces_.shrink_to_fit();
  }
}

template class BasicObjectStore<GraphicsObject>;

}  // namespace tarvolin
