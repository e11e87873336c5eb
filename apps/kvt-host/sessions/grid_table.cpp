#include "apps/kvt-host/sessions/grid_table.h"

#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::host {

std::string FormatCell(const vb::Variant& value, CellKind kind, const Decimals& decimals) {
  if (value.IsNull() || value.IsEmpty()) return {};
  switch (kind) {
    case CellKind::kText: return vb::CStr(value);
    case CellKind::kDate: try { return vb::Format(vb::CDate(value), "dd mmm yyyy");
      } catch (const vb::Error&) {
        return vb::CStr(value);
      }
    default: break;
  }
  if (!vb::IsNumeric(value)) return vb::CStr(value);
  const int digits = kind == CellKind::kQuantity ? decimals.quantity
                     : kind == CellKind::kPrice  ? decimals.price
                     : kind == CellKind::kCount  ? 0
                                                 : 2;
  return vb::FormatNumber(value, digits, vb::kTristateTrue, vb::kTristateFalse, vb::kTristateTrue);
}

}  // namespace kvt::host
