// SharedSettings — the host's settings that every COrder and CGRV on a
// thread shares: a value written through one instance is seen by all of
// them (the last write wins). There are no getters.
#pragma once

#include <cstdint>
#include <string>

#include "kvt/export.h"

namespace kvt {

class KVT_EXPORT SharedSettings {
 public:
  // The connection text every database command of the component uses.
  void ConnectionString(const std::string& value);
  // The company whose lookups, settings and vouchers the component reads.
  void CompanyID(int32_t value);
  // Decimals of quantities and prices on the voucher dialog and documents.
  void QtyDecimals(int32_t value);
  void PriceDecimals(int32_t value);

 protected:
  // The thread's store of settings and dialogs comes into being with the
  // first class instance.
  SharedSettings();
};

}  // namespace kvt
