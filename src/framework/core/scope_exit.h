#pragma once
// Runs a function when the scope ends, however it ends: the undo of a paired step (a flag set, a
// counter raised, a state to restore) written where the step is taken.
#include <utility>

template <class Undo>
class ScopeExit {
 public:
  explicit ScopeExit(Undo undo) : undo_(std::move(undo)) {}
  ~ScopeExit() { undo_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Undo undo_;
};
