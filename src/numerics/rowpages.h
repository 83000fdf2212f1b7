#pragma once
// The specimens of a data set as a superimposition visits them
// (superimposepages.h): N x (D k + 1) with one specimen per row and the
// size column last, visited in order: a few at a time are copied into
// the pages of a small stack, column by column so that the column-major
// rows are read a cache line at a time, and copied back where they change.
// The pages are those of a stack, so a fit over them does the very same
// arithmetic as over the data set's stack, without a second copy of the
// data set in memory.
//
// visitInOrder works on several blocks at once, one on each core where the
// data set has more than one block: a large data set is read from memory
// faster by many cores than by one. Only the work on a page runs
// on either core; what is added up is added in the specimens' order, one
// specimen after the other, so the sums and every later number are the same
// to the last bit however many cores there are.
//
// Example:
//   RowPages<3> pages(data);   // N x (3 k + 1)
//   pages.visit([&](const auto& page) { total += page.norm(); }, false);

#include <Eigen/Core>
#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <vector>

#include "core/onallcores.h"
#include "landmarks/configstack.h"
#include "landmarks/rowblocks.h"

namespace tarvolin::procrustesfit {

template <int D>
class RowPages {
 public:
  static constexpr bool kManyCores = true;
  explicit RowPages(Eigen::MatrixXd& rows) : rows_(rows), landmarks_(rows.cols() / D) {
    // Blocks of some 2 MB, and at least 16 specimens: each column gives a
    // block whole cache lines, and a long row's many pages of memory are
    // visited once a block rather than once a specimen.
    const Eigen::Index pageBytes = std::max<Eigen::Index>(1, landmarks_ * D * 8);
    block_ = std::clamp<Eigen::Index>((Eigen::Index{1} << 21) / pageBytes, 16, 64);
    block_ = std::min(block_, std::max<Eigen::Index>(1, rows.rows()));
  }
  Eigen::Index count() const { return rows_.rows(); }
  Eigen::Index landmarks() const { return landmarks_; }
  template <class Visit>
  void visit(Visit&& visit, bool changes) {
    for (Eigen::Index first = 0; first < count(); first += block_) {
      const Eigen::Index n = std::min(block_, count() - first);
      if (pages_.empty()) pages_.resize(1);
      BasicConfigStack<D>& pages = pagesOf(0);
      gather(pages, first, n);
      for (Eigen::Index b = 0; b < n; ++b) visit(pages.page(b));
      if (changes) scatter(pages, first, n);
    }
  }
  // Calls work(i, page) for every specimen i, on either core, and add(i,
  // page) for every specimen in order, one at a time.
  template <class Work, class Add>
  void visitInOrder(Work&& work, Add&& add, bool changes) {
    const Eigen::Index blocks = (count() + block_ - 1) / block_;
    if (pages_.size() < static_cast<size_t>(laneCount())) {
      pages_.resize(static_cast<size_t>(laneCount()));
    }
    InOrder turns;
    onallcores(blocks > 1, [&](int lane, int lanes) {
      turns.run([&] {
        BasicConfigStack<D>& pages = pagesOf(lane);
        for (Eigen::Index block = lane; block < blocks; block += lanes) {
          const Eigen::Index first = block * block_;
          const Eigen::Index n = std::min(block_, count() - first);
          gather(pages, first, n);
          for (Eigen::Index b = 0; b < n; ++b) work(first + b, pages.page(b));
          if (changes) scatter(pages, first, n);
          if (!turns.waitFor(block)) return;
          for (Eigen::Index b = 0; b < n; ++b) add(first + b, pages.page(b));
          turns.done(block + 1);
        }
      });
    });
    turns.rethrow();
  }

 private:
  // The turns of the lanes that take the blocks by turns: a lane adds its
  // block once every block before it has been added. A lane that fails
  // stops them all, and the failure is thrown once all have stopped.
  class InOrder {
   public:
    template <class Body>
    void run(const Body& body) {
      try {
        body();
      } catch (...) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
        stopped_ = true;
        turn_.notify_all();
      }
    }
    // Waits until `block` is the next to add; false where a lane failed.
    bool waitFor(Eigen::Index block) {
      std::unique_lock<std::mutex> lock(mutex_);
      turn_.wait(lock, [&] { return stopped_ || next_ == block; });
      return !stopped_;
    }
    void done(Eigen::Index next) {
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        next_ = next;
      }
      turn_.notify_all();
    }
    void rethrow() {
      if (failure_) std::rethrow_exception(failure_);
    }

   private:
    std::mutex mutex_;
    std::condition_variable turn_;
    Eigen::Index next_ = 0;
    bool stopped_ = false;
    std::exception_ptr failure_;
  };

  // The pages of a lane, made when first needed.
  BasicConfigStack<D>& pagesOf(int lane) {
    BasicConfigStack<D>& pages = pages_.at(static_cast<size_t>(lane));
    if (pages.empty()) pages = BasicConfigStack<D>(landmarks_, block_);
    return pages;
  }
  void gather(BasicConfigStack<D>& pages, Eigen::Index first, Eigen::Index n) const {
    rowsToPages<D>(rows_, first, n, pages, 0);
  }
  void scatter(const BasicConfigStack<D>& pages, Eigen::Index first, Eigen::Index n) {
    pagesToRows<D>(pages, 0, n, rows_, first);
  }

  Eigen::MatrixXd& rows_;
  Eigen::Index landmarks_;
  Eigen::Index block_ = 1;
  std::vector<BasicConfigStack<D>> pages_;
};

}  // namespace tarvolin::procrustesfit
