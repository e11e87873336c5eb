// CGRV — what the host's goods-received, goods-returned and consignment
// screens drive. Shares the thread's settings and dialogs with COrder.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "kvt/enumerations.h"
#include "kvt/export.h"
#include "kvt/shared_settings.h"
#include "platform/value/variant.h"

namespace kvt {

class KVT_EXPORT CGRV : public SharedSettings {
 public:
  CGRV();
  ~CGRV();
  CGRV(const CGRV&) = delete;
  CGRV& operator=(const CGRV&) = delete;
  CGRV(CGRV&&) noexcept;
  CGRV& operator=(CGRV&&) noexcept;

  // Set while the host works on a consignment returned voucher; false on
  // creation; this instance's own.
  bool mbIsCRN() const;
  void mbIsCRN(bool value);

  // Late binding, as COrder's.
  static int32_t SlotOf(std::string_view name);
  vb::Variant Invoke(int32_t slot, CallKind kind, std::span<vb::Variant> args);
  vb::Variant Invoke(std::string_view name, CallKind kind,
                     std::span<vb::Variant> args);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kvt
