#pragma once
// A stack as the specimens a superimposition visits (superimposepages.h):
// its pages, in place, in order, on the calling thread.
//
// Example:
//   StackPages<3> pages(stack);
//   pages.visit([&](auto page) { page *= 2; }, true);

#include <Eigen/Core>

#include "landmarks/configstack.h"

namespace tarvolin::procrustesfit {

template <int D>
class StackPages {
 public:
  static constexpr bool kManyCores = false;
  explicit StackPages(BasicConfigStack<D>& stack) : stack_(stack) {}
  Eigen::Index count() const { return stack_.specimens(); }
  Eigen::Index landmarks() const { return stack_.landmarks(); }
  // Calls visit(page) for every specimen; `changes` says whether it writes.
  template <class Visit>
  void visit(Visit&& visit, bool /*changes*/) {
    for (Eigen::Index i = 0; i < count(); ++i) visit(stack_.page(i));
  }
  // Calls work(i, page) and then add(i, page) for every specimen i, in
  // order.
  template <class Work, class Add>
  void visitInOrder(Work&& work, Add&& add, bool /*changes*/) {
    for (Eigen::Index i = 0; i < count(); ++i) {
      auto page = stack_.page(i);
      work(i, page);
      add(i, page);
    }
  }

 private:
  BasicConfigStack<D>& stack_;
};

}  // namespace tarvolin::procrustesfit
