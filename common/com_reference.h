// One counted reference to a COM interface, released when its owner goes.
// Called through the interface's C form (lpVtbl), which both deliverables use.
#pragma once

#include <objbase.h>

template <typename Interface>
class ComReference {
 public:
  ComReference() = default;
  // Takes over a reference the caller already holds.
  explicit ComReference(Interface* held) : held_(held) {}
  ~ComReference() { reset(); }
  ComReference(ComReference&& other) noexcept : held_(other.release()) {}
  ComReference& operator=(ComReference&& other) noexcept {
    if (this != &other) {
      reset();
      held_ = other.release();
    }
    return *this;
  }
  ComReference(const ComReference&) = delete;
  ComReference& operator=(const ComReference&) = delete;

  Interface* get() const { return held_; }
  explicit operator bool() const { return held_ != nullptr; }

  // For calls that hand out a new reference: typed, and as QueryInterface and
  // CoCreateInstance take it.
  Interface** out() {
    reset();
    return &held_;
  }
  void** receive() { return reinterpret_cast<void**>(out()); }

  Interface* release() {
    Interface* held = held_;
    held_ = nullptr;
    return held;
  }

  // Cleared before the release, so nothing reached from it sees a dying object.
  void reset() {
    if (Interface* held = release()) held->lpVtbl->Release(held);
  }

 private:
  Interface* held_ = nullptr;
};
