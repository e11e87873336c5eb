// StringBudget: what one evaluation may spend on the strings it builds.
//
// Every string an operator or a built-in produces is charged, before it is
// built, against one budget per evaluation. The charge adds up over the
// whole evaluation, so a formula cannot grow a string step by step (each
// "&" copying the last result) into a large total: the sum of everything
// built stays under the limit. Since every operation is linear in the text
// it reads and writes, and each value is read once, this bound on bytes
// built is also the bound on an evaluation's work.
#pragma once

#include <cstddef>

namespace kvt::script {

// Bytes of text one evaluation may build in all (a discount formula needs
// a few hundred); beyond it 7 (Out of memory).
inline constexpr size_t kMaxStringBytesPerEvaluation = size_t{1} << 20;

class StringBudget {
 public:
  explicit StringBudget(size_t limit = kMaxStringBytesPerEvaluation) : limit_(limit) {}

  // Accounts for a string of `bytes` about to be built. Raises 7 (Out of
  // memory), and charges nothing, when the evaluation's strings would
  // exceed the limit.
  void Charge(size_t bytes);
  // Raises 7 as Charge would, but charges nothing: for a result whose size
  // is known only after it is built, checked against an upper bound first.
  void Require(size_t bytes) const;

  size_t Used() const { return used_; }
  size_t Remaining() const { return limit_ - used_; }

 private:
  size_t limit_;
  size_t used_ = 0;
};

}  // namespace kvt::script
