#include "kvt/shared_settings.h"

#include "component/mod_publics.h"

namespace kvt {

using component::ThreadStore;

SharedSettings::SharedSettings() { ThreadStore(); }

void SharedSettings::ConnectionString(const std::string& value) {
  ThreadStore().settings.connection_string = value;
}
void SharedSettings::CompanyID(int32_t value) { ThreadStore().settings.company_id = value; }
void SharedSettings::QtyDecimals(int32_t value) { ThreadStore().settings.qty_decimals = value; }
void SharedSettings::PriceDecimals(int32_t value) { ThreadStore().settings.price_decimals = value; }

}  // namespace kvt
