// Uncounted (weak) references: a holder reads nil once its target is gone.
#pragma once

#include "script/core/refcount.h"

namespace kestrin::script {

// Shared between a target and its weak holders; `target` is cleared when the target dies.
struct WeakCell : RcHeader {
  void* target = nullptr;
};

// Never inlined: where the delete is inlined into code that releases one holder of a cell
// and then copies or releases another (lambdas that capture a WeakPtr), GCC 12 takes the
// later counts for uses after free, not seeing that a live holder keeps the count above zero.
[[gnu::noinline]] inline void FreeWeakCell(WeakCell* c) { delete c; }

inline void ReleaseWeakCell(WeakCell* c) {
  if (c && --c->refs == 0) FreeWeakCell(c);
}

// Owned by a target: makes the cell on demand and kills it when the target dies.
class WeakAnchor {
public:
  WeakAnchor() = default;
  WeakAnchor(const WeakAnchor&) = delete;
  WeakAnchor& operator=(const WeakAnchor&) = delete;
  ~WeakAnchor() { Kill(); }
  WeakCell* Cell(void* self) {
    if (!cell_) {
      cell_ = new WeakCell;
      cell_->refs = 1;
      cell_->target = self;
    }
    return cell_;
  }
  void Kill() {
    if (!cell_) return;
    cell_->target = nullptr;
    ReleaseWeakCell(cell_);
    cell_ = nullptr;
  }

private:
  WeakCell* cell_ = nullptr;
};

// A weak holder of a T whose anchor registered it as a T*.
template <class T>
class WeakPtr {
public:
  WeakPtr() = default;
  explicit WeakPtr(WeakCell* c) : c_(c) { if (c_) ++c_->refs; }
  WeakPtr(const WeakPtr& o) : WeakPtr(o.c_) {}
  WeakPtr& operator=(const WeakPtr& o) {
    WeakPtr t(o);
    WeakCell* x = c_; c_ = t.c_; t.c_ = x;
    return *this;
  }
  ~WeakPtr() { ReleaseWeakCell(c_); }
  T* get() const { return c_ ? static_cast<T*>(c_->target) : nullptr; }
  void reset() { ReleaseWeakCell(c_); c_ = nullptr; }

private:
  WeakCell* c_ = nullptr;
};

}  // namespace kestrin::script
