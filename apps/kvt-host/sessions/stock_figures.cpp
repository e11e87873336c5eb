#include "apps/kvt-host/sessions/stock_figures.h"

#include <cmath>

#include "apps/kvt-host/posting/bookable.h"
#include "apps/kvt-host/posting/consignment_sale.h"
#include "apps/kvt-host/posting/stock_invariants.h"
#include "apps/kvt-host/posting/voucher.h"
#include "kvt/host_helpers.h"
#include "platform/ui/msg_box.h"
#include "platform/value/conversions.h"
#include "services/data_gateway.h"

namespace kvt::host {

namespace {

data::ConnectionRef Open(const std::string& connection_text) {
  return services::DataGateway().OpenConnection(connection_text, -1, 3);
}

double Number(const data::RecordSet& rows, int column) {
  const vb::Variant value = rows.Item(column).Value();
  return value.IsNull() ? 0.0 : vb::CDbl(value);
}

std::string Text(const data::RecordSet& rows, int column) {
  const vb::Variant value = rows.Item(column).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

}  // namespace

std::vector<ProductStock> ReadProductStock(const std::string& connection_text,
                                           const std::vector<int32_t>& product_ids) {
  data::ConnectionRef connection = Open(connection_text);
  std::vector<ProductStock> stock;
  for (int32_t id : product_ids) {
    auto row = connection->Query(
        "SELECT Code, Description, StockOnHand, ConsignmentStock FROM Products WHERE ID = ?1",
        {vb::Variant(id)});
    if (row->IsEOF()) continue;
    stock.push_back({id, Text(*row, 0), Text(*row, 1), Number(*row, 2), Number(*row, 3)});
  }
  return stock;
}

bool ConsignmentLine::AddsUp() const {
  return left.has_value() && std::fabs(received - sold - returned - *left) < posting::kQtySlack;
}

std::vector<ConsignmentLine> ReadConsignmentLines(const std::string& connection_text,
                                                  int32_t company_id, int32_t supplier_id) {
  auto rows = Open(connection_text)
                  ->Query(
                      "SELECT gd.ID, g.VoucherNumber, p.Code, gd.Qty, gd.QtySold, "
                      "gd.QtyReturned, gd.QtyLeft, gd.SoldOn FROM GRVDetails gd "
                      "JOIN GRVs g ON g.ID = gd.GRVID LEFT JOIN Products p ON p.ID = gd.ProductID "
                      "WHERE g.TranTypeID = ?1 AND g.CompanyID = ?2 AND g.SupplierID = ?3 "
                      "ORDER BY g.ID, gd.ID",
                      {vb::Variant(static_cast<int32_t>(posting::kConsignmentReceived)),
                       vb::Variant(company_id), vb::Variant(supplier_id)});
  std::vector<ConsignmentLine> lines;
  for (; !rows->IsEOF(); rows->MoveNext()) {
    ConsignmentLine line{vb::CLng(rows->Item(0).Value()),
                         Text(*rows, 1),
                         Text(*rows, 2),
                         Number(*rows, 3),
                         Number(*rows, 4),
                         Number(*rows, 5),
                         std::nullopt,
                         rows->Item(7).Value()};
    if (!rows->Item(6).IsNull()) line.left = Number(*rows, 6);
    lines.push_back(line);
  }
  return lines;
}

bool SellConsignmentStock(const HostContext& context, int32_t line_id, double qty,
                          const vb::Date& date) {
  posting::ConsignmentSale sale;
  sale.company_id = context.company_id;
  sale.consignment_line_id = line_id;
  sale.qty = qty;
  sale.date = date;
  sale.user_id = context.user_id;
  try {
    posting::RecordConsignmentSale(*Open(context.connection_text), sale);
    return true;
  } catch (const vb::Error& error) {
    if (error.number() != posting::kPostingRefused) throw;
    ui::MsgBox(error.description(), ui::vbOKOnly | ui::vbExclamation, StockReceiptsTitle());
    return false;
  }
}

std::vector<std::string> StockBreaches(const std::string& connection_text) {
  return posting::StockInvariantBreaches(*Open(connection_text));
}

}  // namespace kvt::host
