#include "platform/script/string_budget.h"

#include <string>

#include "platform/script/script_error.h"

namespace kvt::script {

void StringBudget::Charge(size_t bytes) {
  Require(bytes);
  used_ += bytes;
}

void StringBudget::Require(size_t bytes) const {
  if (bytes > Remaining()) {
    throw RuntimeError(vb::err::kOutOfMemory, "a string of " + std::to_string(bytes) + " bytes; " +
                                                  std::to_string(Remaining()) + " of " +
                                                  std::to_string(limit_) +
                                                  " left for this evaluation");
  }
}

}  // namespace kvt::script
