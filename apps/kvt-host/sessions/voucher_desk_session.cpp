#include "apps/kvt-host/sessions/voucher_desk_session.h"

#include "apps/kvt-host/sessions/order_list.h"
#include "apps/kvt-host/sessions/host_settings.h"
#include "apps/kvt-host/sessions/stock_figures.h"
#include "apps/kvt-host/sessions/voucher_session.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::host {
namespace {

constexpr char kSource[] = "kvt-host";

constexpr FieldColumn kOrderSources[] = {{"Order", "Order Number", CellKind::kText},
                                         {"Date", "Date Ordered", CellKind::kDate},
                                         {"Our ref", "Our Ref", CellKind::kText},
                                         {"Supplier ref", "Supp Ref", CellKind::kText},
                                         {"Lines to come", "Outstanding Lines", CellKind::kCount}};
constexpr FieldColumn kGrvSources[] = {{"Voucher", "GRV Number", CellKind::kText},
                                       {"Date", "Date Received", CellKind::kDate},
                                       {"Delivery note", "Del Note No", CellKind::kText},
                                       {"Order", "Order Number", CellKind::kText},
                                       {"Total", "Total", CellKind::kMoney}};
constexpr FieldColumn kCrvSources[] = {{"Voucher", "CRV Number", CellKind::kText},
                                       {"Date", "Date Received", CellKind::kDate},
                                       {"Delivery note", "Del Note No", CellKind::kText},
                                       {"Order", "Order Number", CellKind::kText},
                                       {"Total", "Total", CellKind::kMoney}};
constexpr FieldColumn kVoucherLines[] = {
    {"Code", "Code", CellKind::kText},         {"Product", "Product", CellKind::kText},
    {"Qty", "Qty", CellKind::kQuantity},       {"Unit price", "Unit Price", CellKind::kPrice},
    {"Trade", "Trade Disc", CellKind::kMoney}, {"Rebate", "Rebate Disc", CellKind::kMoney},
    {"Other", "Other Disc", CellKind::kMoney}, {"Net", "Net Amount", CellKind::kMoney},
    {"Tax", "Tax Amount", CellKind::kMoney},   {"Total", "Total Cost", CellKind::kMoney}};

double Number(data::RecordSet& rows, const char* field) {
  const vb::Variant value = rows.Item(field).Value();
  return value.IsNull() ? 0.0 : vb::CDbl(value);
}

std::vector<int32_t> Keys(data::RecordSet& rows) {
  std::vector<int32_t> keys;
  if (rows.RecordCount() == 0) return keys;
  for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
    keys.push_back(vb::CLng(rows.Item("ID").Value()));
  }
  return keys;
}

// The figures of a source line the clerk decides by, per voucher kind:
// (caption, value) in column order; a quantity left never counted is Null.
std::vector<std::pair<const char*, vb::Variant>> SourceFigures(data::RecordSet& row,
                                                               posting::TransactionType type) {
  const double qty = Number(row, "Qty");
  switch (type) {
    case posting::kGoodsReturned:
      return {{"Received", qty},
              {"Returned", Number(row, "Qty Returned")},
              {"Can return", qty - Number(row, "Qty Returned")}};
    case posting::kConsignmentReturned:
      return {{"Received", qty},
              {"Sold", Number(row, "Qty Sold")},
              {"Returned", Number(row, "Qty Returned")},
              {"Left", row.Item("Qty Left").Value()}};
    default: {
      const double back_order = Number(row, "B/O Qty");
      const double received = Number(row, "Received Qty");
      return {{"Ordered", qty},
              {"B/O", back_order},
              {"Received", received},
              {"To come", qty + back_order - received}};
    }
  }
}

class DeskVoucherSession : public VoucherScreenSession {
 public:
  DeskVoucherSession(const DeskContext& desk, posting::TransactionType type)
      : desk_(desk), type_(type) {
    Restart();
  }

  std::string Title() const override { return session_->Title(); }
  bool IsReturn() const override { return session_->IsReturn(); }
  bool IsConsignment() const override { return session_->IsConsignment(); }
  std::string LockedReason() const override {
    return desk_.ReadOnly() ? "The database is read-only: vouchers can be read and printed "
                              "but not saved."
                            : std::string();
  }

  Choices Suppliers() override { return ReadSuppliers(*desk_.connection, desk_.company_id); }
  void ChooseSupplier(int32_t supplier_id) override {
    Restart();
    session_->ChooseSupplier(supplier_id);
  }
  std::string SourcesCaption() const override {
    if (!session_->IsReturn()) return "Orders with stock to come";
    return session_->IsConsignment() ? "Consignment received vouchers" : "Goods received vouchers";
  }
  GridTable Sources() override {
    data::RecordSetRef rows = session_->Sources();
    source_ids_ = Keys(*rows);
    GridTable table = type_ == posting::kGoodsReturned ? GridOf(*rows, kGrvSources, decimals_)
                      : type_ == posting::kConsignmentReturned
                          ? GridOf(*rows, kCrvSources, decimals_)
                          : GridOf(*rows, kOrderSources, decimals_);
    source_numbers_.clear();
    for (const auto& row : table.rows) source_numbers_.push_back(row.at(0));
    return table;
  }
  void OpenSource(int row) override {
    if (row < 0 || row >= static_cast<int>(source_ids_.size())) {
      throw vb::Error::SubscriptOutOfRange(kSource);
    }
    session_->ChooseSource(source_ids_[row]);
    source_number_ = source_numbers_[row];
    source_line_ids_ = Keys(session_->SourceLines());
  }
  GridTable SourceLines() override {
    GridTable table;
    table.columns = {{"Code", CellKind::kText}, {"Product", CellKind::kText}};
    if (session_->SourceId() == 0) return table;
    data::RecordSet& rows = session_->SourceLines();
    if (rows.RecordCount() == 0) return table;
    bool first = true;
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
      std::vector<std::string> cells = {
          FormatCell(rows.Item("Code").Value(), CellKind::kText, {}),
          FormatCell(rows.Item("Product").Value(), CellKind::kText, {})};
      for (const auto& [caption, value] : SourceFigures(rows, type_)) {
        if (first) table.columns.push_back({caption, CellKind::kQuantity});
        cells.push_back(FormatCell(value, CellKind::kQuantity, decimals_));
      }
      if (first) table.columns.push_back({"Unit price", CellKind::kPrice});
      cells.push_back(FormatCell(rows.Item("Unit Price").Value(), CellKind::kPrice, decimals_));
      table.rows.push_back(std::move(cells));
      first = false;
    }
    return table;
  }

  bool ReceiveLine(int source_row) override {
    Refuse();
    if (source_row < 0 || source_row >= static_cast<int>(source_line_ids_.size())) return false;
    return session_->ReceiveLine(source_line_ids_[source_row]);
  }
  bool EditLine(int row) override {
    Refuse();
    return session_->EditLine(row);
  }
  bool RemoveLine(int row) override {
    Refuse();
    return session_->RemoveLine(row);
  }
  GridTable Lines() override { return GridOf(session_->Lines(), kVoucherLines, decimals_); }
  int LineCount() const override { return session_->Lines().RecordCount(); }

  VoucherHeader Header() override {
    VoucherHeaderStrip& strip = session_->Header();
    VoucherHeader header{strip.DelNoteNumber(), strip.SupplierRef(),
                         session_->IsReturn() ? "Against voucher" : "Order", source_number_};
    // A return shows the delivery note the goods came with.
    const std::string came_with = strip.SourceCaption();
    if (session_->IsReturn() && !came_with.empty() && !source_number_.empty()) {
      header.source += " (delivery note " + came_with + ")";
    }
    return header;
  }
  void SetReferences(const std::string& del_note_number, const std::string& supplier_ref) override {
    session_->Header().DelNoteNumber(del_note_number);
    session_->Header().SupplierRef(supplier_ref);
  }
  Captioned Totals() override {
    Captioned totals;
    for (int i = 4; i <= 9; ++i) totals.emplace_back(TotalCaption(i), session_->Header().Total(i));
    return totals;
  }

  std::optional<PostedNumber> Save() override {
    Refuse();
    const std::optional<posting::PostedVoucher> posted = session_->Save();
    if (!posted) return std::nullopt;
    source_number_.clear();
    source_line_ids_.clear();
    return PostedNumber{posted->voucher_id, posted->voucher_number};
  }
  Choices PostedVouchers() override {
    data::RecordSetRef rows = desk_.connection->Query(
        "SELECT ID, VoucherNumber, DateReceived FROM GRVs WHERE CompanyID = ?1 AND "
        "SupplierID = ?2 AND TranTypeID = ?3 ORDER BY ID DESC",
        {desk_.company_id, session_->SupplierId(), static_cast<int32_t>(type_)});
    Choices vouchers;
    for (; !rows->IsEOF(); rows->MoveNext()) {
      vouchers.emplace_back(vb::CLng(rows->Item(0).Value()),
                            vb::CStr(rows->Item(1).Value()) + " \u2014 " +
                                FormatCell(rows->Item(2).Value(), CellKind::kDate, decimals_));
    }
    return vouchers;
  }
  void Print(int32_t voucher_id, bool reprint) override { session_->Print(voucher_id, reprint); }

  GridTable ConsignmentStock() override {
    GridTable table;
    table.columns = {{"Voucher", CellKind::kText},      {"Code", CellKind::kText},
                     {"Received", CellKind::kQuantity}, {"Sold", CellKind::kQuantity},
                     {"Returned", CellKind::kQuantity}, {"Left", CellKind::kQuantity},
                     {"Last sold", CellKind::kDate}};
    consignment_ids_.clear();
    if (!session_->IsConsignment() || session_->SupplierId() == 0) return table;
    for (const ConsignmentLine& line :
         ReadConsignmentLines(desk_.connection_text, desk_.company_id, session_->SupplierId())) {
      consignment_ids_.push_back(line.line_id);
      auto qty = [&](double value) { return FormatCell(value, CellKind::kQuantity, decimals_); };
      table.rows.push_back({line.voucher_number, line.code, qty(line.received), qty(line.sold),
                            qty(line.returned), line.left ? qty(*line.left) : std::string(),
                            FormatCell(line.last_sold_on, CellKind::kDate, decimals_)});
    }
    return table;
  }
  bool RecordSale(int row, double qty, const vb::Date& date) override {
    Refuse();
    if (row < 0 || row >= static_cast<int>(consignment_ids_.size())) {
      throw vb::Error::SubscriptOutOfRange(kSource);
    }
    return SellConsignmentStock(Context(), consignment_ids_[row], qty, date);
  }

 private:
  HostContext Context() const {
    HostContext context;
    context.connection_text = desk_.connection_text;
    context.company_id = desk_.company_id;
    context.user_id = desk_.user_id;
    context.database_name = desk_.database_name;
    context.qty_decimals = decimals_.quantity;
    context.price_decimals = decimals_.price;
    return context;
  }
  // A new session with the company's decimals as they are saved now.
  void Restart() {
    const CompanySettings company = ReadCompanySettings(desk_.connection_text, desk_.company_id);
    decimals_ = {company.qty_decimals, company.price_decimals};
    session_ = std::make_unique<VoucherSession>(Context(), type_);
    source_ids_.clear();
    source_numbers_.clear();
    source_line_ids_.clear();
    source_number_.clear();
  }
  void Refuse() const {
    const std::string reason = LockedReason();
    if (!reason.empty()) throw vb::Error(vb::err::kInvalidCall, kSource, reason);
  }

  const DeskContext& desk_;
  posting::TransactionType type_;
  Decimals decimals_;
  std::unique_ptr<VoucherSession> session_;
  std::vector<int32_t> source_ids_;
  std::vector<std::string> source_numbers_;  // as Sources() last showed them
  std::vector<int32_t> source_line_ids_;
  std::vector<int32_t> consignment_ids_;
  std::string source_number_;
};

}  // namespace

std::unique_ptr<VoucherScreenSession> OpenVoucherScreen(const DeskContext& desk,
                                                        posting::TransactionType type) {
  return std::make_unique<DeskVoucherSession>(desk, type);
}

}  // namespace kvt::host
