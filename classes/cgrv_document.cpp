// CGRV's printed vouchers.
#include "classes/cgrv_members.h"
#include "classes/member_binding.h"
#include "component/mod_publics.h"
#include "documents/voucher_printing.h"
#include "platform/value/failure_style.h"

namespace kvt {

void CGRV::ShowGRVReport(int32_t pGRVID, int32_t pCompanyID, const std::string& pDatabase,
                         bool RePrint) {
  // Printing passes failures over step by step; reaching the gateway is one
  // more such step.
  vb::PassOver([&] {
    component::Store& store = component::ThreadStore();
    documents::PrintGRVReport(pGRVID, pCompanyID, pDatabase, RePrint,
                              store.settings.connection_string, store.settings.qty_decimals,
                              store.settings.price_decimals, store.DataGateway());
  });
}

namespace classes {

void BindCGRVDocumentMembers(CGRVTable& table) {
  // RePrint may be left out.
  BindCall(table, "ShowGRVReport", &CGRV::ShowGRVReport, 1);
}

}  // namespace classes
}  // namespace kvt
