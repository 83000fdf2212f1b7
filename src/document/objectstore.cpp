#include "document/objectstore.h"

#include <cmath>
#include <memory>
#include <stdexcept>
#include <utility>

#include "document/graphics.h"

namespace tarvolin {
namespace {

// Whole numbers from 0 to 2^52 are paged; -0 counts as 0.
bool paged(Handle h) {
  return h.value() >= 0 && h.value() <= 4503599627370496.0 && std::floor(h.value()) == h.value();
}

}  // namespace

template <typename Object>
typename BasicObjectStore<Object>::Page* BasicObjectStore<Object>::pageOf(
    std::uint64_t number) const {
  Recent& recent = recent_[number % kRecent];
  if (recent.page && recent.number == number) return recent.page;
  const auto found = pages_.find(number);
  if (found == pages_.end()) return nullptr;
  recent = {number, found->second.get()};
  return recent.page;
}

template <typename Object>
std::uint32_t BasicObjectStore<Object>::placeOf(Handle h) const {
  if (!paged(h)) {
    const auto found = others_.find(h);
    return found == others_.end() ? kEmpty : found->second;
  }
  const auto whole = static_cast<std::uint64_t>(h.value());
  const Page* page = pageOf(whole >> kPageBits);
  return page ? page->places[whole & ((std::uint64_t{1} << kPageBits) - 1)] : kEmpty;
}

template <typename Object>
Object& BasicObjectStore<Object>::insert(Object&& object) {
  const Handle h = object.handle;
  std::uint32_t* slot = nullptr;
  if (paged(h)) {
    const auto whole = static_cast<std::uint64_t>(h.value());
    Page* page = pageOf(whole >> kPageBits);
    if (!page) page = (pages_[whole >> kPageBits] = std::make_unique<Page>()).get();
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
  } else {
    if ((poolSize_ >> kChunkBits) == pool_.size()) {
      pool_.push_back(std::make_unique_for_overwrite<Room[]>(std::size_t{1} << kChunkBits));
    }
    *slot = poolSize_++;
  }
  ++count_;
  return *std::construct_at(static_cast<Object*>(roomAt(*slot)), std::move(object));
}

template <typename Object>
BasicObjectStore<Object>::~BasicObjectStore() {
  for (const auto& [number, page] : pages_) {
    for (std::uint32_t place : page->places) {
      if (place != kEmpty) std::destroy_at(&at(place));
    }
  }
  for (const auto& [handle, place] : others_) std::destroy_at(&at(place));
}

template <typename Object>
Object* BasicObjectStore<Object>::find(Handle h) {
  return const_cast<Object*>(std::as_const(*this).find(h));
}

template <typename Object>
const Object* BasicObjectStore<Object>::find(Handle h) const {
  const std::uint32_t place = placeOf(h);
  return place == kEmpty ? nullptr : &at(place);
}

template <typename Object>
void BasicObjectStore<Object>::erase(Handle h) {
  std::uint32_t place = kEmpty;
  if (paged(h)) {
    const auto whole = static_cast<std::uint64_t>(h.value());
    Page* page = pageOf(whole >> kPageBits);
    if (!page) return;
    std::uint32_t& slot = page->places[whole & ((std::uint64_t{1} << kPageBits) - 1)];
    if (slot == kEmpty) return;
    place = std::exchange(slot, kEmpty);
    if (--page->used == 0) {
      Recent& recent = recent_[(whole >> kPageBits) % kRecent];
      if (recent.page == page) recent = {};
      pages_.erase(whole >> kPageBits);
    }
  } else {
    const auto found = others_.find(h);
    if (found == others_.end()) return;
    place = found->second;
    others_.erase(found);
  }
  std::destroy_at(&at(place));
  freePlaces_.push_back(place);
  --count_;
  // An empty store gives its chunks back.
  if (count_ == 0) {
    pool_.clear();
    pool_.shrink_to_fit();
    poolSize_ = 0;
    freePlaces_.clear();
    freePlaces_.shrink_to_fit();
  }
}

template class BasicObjectStore<GraphicsObject>;

}  // namespace tarvolin
