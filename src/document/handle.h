#pragma once
// The handle of a graphics object: a number by name (windows are 1, 2, ...,
// other objects 1000 up, the screen 0), a type of its own inside, so that a
// handle is never taken for a coordinate or a count. It becomes a number
// and back only where objects are named by number: the runtime's values,
// figure files and handle records, Parent, Children and CurrentFigure by
// name, and the echo of a handle on the console.
//
// Example:
//   const Handle window = graphics.figure();   // Handle(1)
//   console().echo("h", window.value());      // h = 1
//   graphics.isValid(Handle(args(0)));        // a number from a script

#include <compare>
#include <cstddef>
#include <functional>

namespace tarvolin {

class Handle {
 public:
  constexpr Handle() = default;
  constexpr explicit Handle(double number) : number_(number) {}
  // The number by which the object is named.
  constexpr double value() const { return number_; }
  constexpr auto operator<=>(const Handle&) const = default;

 private:
  double number_ = 0;
};

constexpr Handle kRoot{};

}  // namespace tarvolin

template <>
struct std::hash<tarvolin::Handle> {
  std::size_t operator()(tarvolin::Handle h) const noexcept {
    return std::hash<double>{}(h.value());
  }
};
