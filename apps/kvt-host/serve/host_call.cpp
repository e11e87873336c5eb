#include "apps/kvt-host/serve/host_call.h"

#include "apps/kvt-host/sessions/host_settings.h"

namespace kvt::serve {

host::HostContext VoucherContext(Call& call) {
  host::HostContext context;
  context.connection_text = call.User().connection_text;
  context.company_id = call.options.company_id;
  context.database_name = call.options.database_name;
  const host::CompanySettings settings =
      host::ReadCompanySettings(context.connection_text, context.company_id);
  context.qty_decimals = settings.qty_decimals;
  context.price_decimals = settings.price_decimals;
  return context;
}

}  // namespace kvt::serve
