#include "apps/kvt-host/sessions/order_screen.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/data_combo.h"
#include "platform/ui/data_grid.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"

namespace kvt::host {

namespace {

using data::DataType;
using object::SameName;

constexpr char kOrderHeadersSql[] = R"(
SELECT po.ID AS "ID", po.OrderNumber AS "Order No",
       po.DateOrdered AS "Date Ordered", po.Status AS "Status",
       (SELECT MIN(b.ID) FROM PurchaseOrders b
         WHERE b.CompanyID = po.CompanyID AND b.DelName = po.DelName)
         AS "Branch_Codes_ID",
       s.Name AS "Supplier", po.SupplierID AS "SupplierID",
       s.Rep AS "Supplier Rep",
       CASE WHEN EXISTS (SELECT 1 FROM GRVs g
                          WHERE g.SupplierID = s.ID AND g.CompanyID = po.CompanyID
                            AND g.TranTypeID IN (31, 32))
            THEN 'Consignment' ELSE 'Trade' END AS "Supplier Type",
       po.OurRef AS "Our Ref", po.SuppRef AS "Supplier Ref",
       t.TradeDisc AS "Trade Discount", t.RebateDisc AS "Rebate Discount",
       t.OtherDisc AS "Other Discount", t.NetAmount AS "Net Amount",
       t.Tax AS "Tax Total", t.TotalCost AS "Order Total", t.Qty AS "Order Qty"
  FROM PurchaseOrders po
  JOIN Suppliers s ON s.ID = po.SupplierID
  LEFT JOIN (SELECT PurchaseOrderID, SUM(TradeDisc) AS TradeDisc,
                    SUM(RebateDisc) AS RebateDisc, SUM(OtherDisc) AS OtherDisc,
                    SUM(NetAmount) AS NetAmount, SUM(Tax) AS Tax,
                    SUM(TotalCost) AS TotalCost, SUM(Qty) AS Qty
               FROM PurchaseOrderDetails WHERE PurchaseOrderID = ?2
              GROUP BY PurchaseOrderID) t
    ON t.PurchaseOrderID = po.ID
 WHERE po.CompanyID = ?1 AND po.ID = ?2)";

// Every supplier of the company, whether ordered from yet or not: asking
// the orders which suppliers they name probes years of orders once per
// supplier, and a new order's supplier belongs in the list all the same.
constexpr char kSuppliersSql[] = R"(
SELECT s.ID AS "ID", s.Name AS "Supplier"
  FROM Suppliers s
 WHERE s.CompanyID = ?1
 ORDER BY s.Name)";

// The delivery names orders were sent to, each with its first order: read
// name by name through the index on them (PurchaseOrders_Branch), one
// step a name, rather than grouping every order of the history.
constexpr char kBranchesSql[] = R"(
WITH RECURSIVE b(name) AS (
  SELECT MIN(DelName) FROM PurchaseOrders WHERE CompanyID = ?1 AND DelName IS NOT NULL
  UNION ALL
  SELECT (SELECT MIN(o.DelName) FROM PurchaseOrders o
           WHERE o.CompanyID = ?1 AND o.DelName > b.name)
    FROM b WHERE b.name IS NOT NULL)
SELECT (SELECT MIN(o.ID) FROM PurchaseOrders o WHERE o.CompanyID = ?1 AND o.DelName = b.name)
         AS "ID", b.name AS "Branch"
  FROM b WHERE b.name IS NOT NULL
 ORDER BY b.name)";

// The order's lines, with the columns the header totals read.
constexpr char kOrderLinesSql[] = R"(
SELECT p.Code AS "Code", p.Description AS "Product", d.Qty AS "Qty",
       d.UnitPrice AS "Unit Price", d.TradeDisc AS "Trade Disc",
       d.RebateDisc AS "Rebate Disc", d.OtherDisc AS "Other Disc",
       d.NetAmount AS "Net Amount", d.Tax AS "Tax", d.TotalCost AS "Total Cost",
       d.ProductID AS "Products ID"
  FROM PurchaseOrderDetails d
  LEFT JOIN Products p ON p.ID = d.ProductID
 WHERE d.PurchaseOrderID = ?1
 ORDER BY d.ID)";

constexpr char kProductSql[] = R"(
SELECT Description, StockOnHand, StockReserved, LastSale, QtyOnOrder,
       OrdersPending, ShoppingListQty, LeadTime, ServiceLevel
  FROM Products WHERE ID = ?1)";

constexpr char kLineQuantitiesSql[] = R"(
SELECT Qty FROM PurchaseOrderDetails
 WHERE ProductID = ?1 AND Qty IS NOT NULL ORDER BY Qty)";

// Moves `rs` to the first row whose `field` equals `id`; leaves it at its
// end when none does.
void MoveToId(data::RecordSet& rs, const char* field, int32_t id) {
  for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
    vb::Variant value = rs.Item(field).Value();
    if (!value.IsNull() && vb::CLng(value) == id) return;
  }
}

double Round2(double value) { return std::round(value * 100.0) / 100.0; }

// KvtDBC as the form's control array: one element, 0.
class ProviderArray : public object::Object {
 public:
  explicit ProviderArray(std::shared_ptr<OrderDataProvider> provider)
      : provider_(std::move(provider)) {}
  std::string TypeName() const override { return "Object"; }
  vb::Variant Get(std::string_view name, object::Args args) override {
    if ((name.empty() || SameName(name, "Item")) && args.size() == 1) {
      if (vb::CLng(args[0]) != 0) throw vb::Error::SubscriptOutOfRange("KvtDBC");
      return vb::ObjectRef(provider_);
    }
    if (SameName(name, "Count") && args.empty()) return 1;
    ThrowNoSuchMember(name);
  }

 private:
  std::shared_ptr<OrderDataProvider> provider_;
};

}  // namespace

OrderDataProvider::OrderDataProvider(data::ConnectionRef connection, int32_t company_id)
    : connection_(std::move(connection)), company_id_(company_id) {}

data::RecordSetRef OrderDataProvider::Member(const std::string& name) const {
  const std::vector<vb::Variant> company{company_id_};
  if (SameName(name, "Order_Headers")) {
    const data::Connection::ColumnTypes types = {
        {"Branch_Codes_ID", DataType::kInteger},  {"Trade Discount", DataType::kCurrency},
        {"Rebate Discount", DataType::kCurrency}, {"Other Discount", DataType::kCurrency},
        {"Net Amount", DataType::kCurrency},      {"Tax Total", DataType::kCurrency},
        {"Order Total", DataType::kCurrency},     {"Order Qty", DataType::kDouble}};
    // The open order's row only: the binding reads it, and a company's
    // history of orders is never read whole.
    data::RecordSetRef headers = Once(headers_, [&] {
      return connection_->Query(kOrderHeadersSql, {company_id_, order_id_}, types);
    });
    MoveToId(*headers, "ID", order_id_);
    return headers;
  }
  if (SameName(name, "Suppliers_In_Orders")) {
    return Once(suppliers_, [&] { return connection_->Query(kSuppliersSql, company); });
  }
  if (SameName(name, "Branch_Codes")) {
    data::RecordSetRef branches =
        Once(branches_, [&] { return connection_->Query(kBranchesSql, company); });
    data::RecordSetRef headers = Member("Order_Headers");
    if (!headers->IsEOF()) {
      vb::Variant branch = headers->Item("Branch_Codes_ID").Value();
      if (!branch.IsNull()) MoveToId(*branches, "ID", vb::CLng(branch));
    }
    return branches;
  }
  throw vb::Error::Numbered(vb::err::kAdoItemNotFound, "KvtDBC", name);
}

data::RecordSetRef OrderDataProvider::Once(data::RecordSetRef& kept,
                                           const std::function<data::RecordSetRef()>& query) const {
  if (!kept) kept = query();
  auto copy = std::make_shared<data::RecordSet>();
  const int fields = kept->Fields().Count();
  for (int i = 0; i < fields; ++i) {
    copy->Fields().Append(kept->Fields().Item(i).Name(), kept->Fields().Item(i).Type());
  }
  copy->Open();
  for (kept->MoveFirst(); !kept->IsEOF(); kept->MoveNext()) {
    std::vector<vb::Variant> row;
    for (int i = 0; i < fields; ++i) row.push_back(kept->Item(i).Value());
    copy->AppendRow(std::move(row));
  }
  copy->MoveFirst();
  return copy;
}

vb::Variant OrderDataProvider::Call(std::string_view name, object::Args args) {
  if (SameName(name, "MemberGet") && args.size() == 1) {
    return vb::ObjectRef(Member(vb::CStr(args[0])));
  }
  ThrowNoSuchMember(name);
}

ProductForecaster::ProductForecaster(data::Connection& connection, int32_t product_id)
    : product_(connection.Query(kProductSql, {product_id})) {
  if (product_->IsEOF()) throw vb::Error::Numbered(vb::err::kAdoNoCurrentRecord, "Forecaster");
  std::vector<double> quantities;
  data::RecordSetRef lines = connection.Query(kLineQuantitiesSql, {product_id});
  for (; !lines->IsEOF(); lines->MoveNext()) {
    quantities.push_back(vb::CDbl(lines->Item(0).Value()));
  }
  if (quantities.empty()) return;
  std::sort(quantities.begin(), quantities.end());
  const size_t n = quantities.size();
  double sum = 0;
  for (double q : quantities) sum += q;
  const double mean = sum / static_cast<double>(n);
  double squares = 0;
  for (double q : quantities) squares += (q - mean) * (q - mean);
  min_qty_ = quantities.front();
  max_qty_ = quantities.back();
  mean_ = Round2(mean);
  median_ =
      Round2(n % 2 == 1 ? quantities[n / 2] : (quantities[n / 2 - 1] + quantities[n / 2]) / 2.0);
  std_dev_ = Round2(std::sqrt(squares / static_cast<double>(n)));
}

vb::Variant ProductForecaster::Get(std::string_view name, object::Args args) {
  if (!args.empty()) ThrowNoSuchMember(name);
  // clang-format off
  static constexpr std::pair<const char*, const char*> kProductColumns[] = {
      {"ProductDescription", "Description"}, {"StockOnHand", "StockOnHand"},
      {"StockReserved", "StockReserved"},    {"LastSaleDate", "LastSale"},
      {"QtyOnOrder", "QtyOnOrder"},          {"OrdersPending", "OrdersPending"},
      {"CandidatesPending", "ShoppingListQty"}, {"LeadTime", "LeadTime"},
      {"ServiceLevel", "ServiceLevel"}};
  // clang-format on
  for (const auto& [property, column] : kProductColumns) {
    if (SameName(name, property)) return product_->Item(column).Value();
  }
  if (SameName(name, "MinOrderQty")) return min_qty_;
  if (SameName(name, "MaxOrderQty")) return max_qty_;
  if (SameName(name, "Mean")) return mean_;
  if (SameName(name, "Median")) return median_;
  if (SameName(name, "StdDev")) return std_dev_;
  ThrowNoSuchMember(name);
}

OrderScreen::OrderScreen(data::ConnectionRef connection, int32_t company_id)
    : Form("frmPurchaseOrders"),
      connection_(connection),
      provider_(std::make_shared<OrderDataProvider>(std::move(connection), company_id)) {}

void OrderScreen::ShowOrderLines(int32_t order_id) {
  provider_->CurrentOrder(order_id);
  Ctl<ui::DataGrid>("sugOrderDetails", 0)
      .DataSource(connection_->Query(kOrderLinesSql, {order_id}));
}

int32_t OrderScreen::FirstProductOfOrder() const {
  data::RecordSetRef lines = connection_->Query(kOrderLinesSql, {provider_->CurrentOrder()});
  if (lines->IsEOF()) return 0;
  vb::Variant product = lines->Item("Products ID").Value();
  return product.IsNull() ? 0 : vb::CLng(product);
}

vb::Variant OrderScreen::Get(std::string_view name, object::Args args) {
  if (!SameName(name, "KvtDBC")) return Form::Get(name, args);
  auto array = std::make_shared<ProviderArray>(provider_);
  if (args.empty()) return vb::ObjectRef(array);
  return array->Get("", args);
}

void OrderScreen::Build() {
  Caption("Purchase Orders");
  Size(11520, 8520);
  int caption_index = 0;
  auto caption = [&](const char* text, int32_t left, int32_t top, int32_t width,
                     ui::Control* frame = nullptr) {
    auto& label = Add<ui::Label>("lblCaption", caption_index++);
    label.Caption(text);
    label.Move(left, top, width, 255);
    if (frame != nullptr) label.Container(frame);
  };
  auto text_box = [&](const char* name, int index, int32_t left, int32_t top, int32_t width,
                      ui::Control* frame = nullptr) {
    auto& box = Add<ui::TextBox>(name, index);
    box.Move(left, top, width, 315);
    if (frame != nullptr) box.Container(frame);
  };

  // Header: supplier and branch lists, then the header's texts.
  caption("Supplier:", 120, 150, 1200);
  Add<ui::DataCombo>("dbcOHeaderEdit", 4).Move(1380, 120, 3600, 315);
  caption("Branch:", 5400, 150, 900);
  Add<ui::DataCombo>("dbcOHeaderEdit", 3).Move(6360, 120, 3000, 315);
  caption("Order No:", 120, 570, 1200);
  text_box("txtOHeaderEdit", 1, 1380, 540, 1800);
  caption("Rep:", 5400, 570, 900);
  text_box("txtOHeaderEdit", 2, 6360, 540, 3000);
  caption("Supplier Type:", 120, 990, 1200);
  text_box("txtOHeaderEdit", 3, 1380, 960, 1800);
  caption("Our Ref:", 5400, 990, 900);
  text_box("txtOHeaderEdit", 4, 6360, 960, 1800);
  caption("Supplier Ref:", 120, 1410, 1200);
  text_box("txtOHeaderEdit", 5, 1380, 1380, 1800);

  // The seven totals, in the order the component writes them.
  const char* totals[] = {"Trade Discount", "Rebate Discount", "Other Discount", "Net Amount",
                          "Tax Total",      "Order Total",     "Order Qty"};
  for (int i = 1; i <= 7; ++i) {
    const int32_t left = 120 + (i - 1) * 1605;
    caption(totals[i - 1], left, 1860, 1545);
    auto& total = Add<ui::Label>("lblOHeaderEdit", i);
    total.Move(left, 2115, 1545, 255);
    total.Alignment(1);
  }

  Add<ui::DataGrid>("sugOrderDetails", 0).Move(120, 2520, 11280, 2640);

  // Product details of the selected line's product.
  auto& panel = Add<ui::Frame>("fraProdDetails");
  panel.Caption("Product Details");
  panel.Move(120, 5280, 11280, 3120);
  auto& description = Add<ui::Label>("lblProdDetails", 0);
  description.Move(120, 300, 11040, 255);
  description.Container(&panel);
  const char* stock[] = {"Stock on Hand:", "Stock Reserved:", "Last Sale:",
                         "Qty on Order:",  "Orders Pending:", "Candidates Pending:"};
  for (int i = 1; i <= 6; ++i) {
    const int32_t top = 660 + (i - 1) * 390;
    caption(stock[i - 1], 120, top, 1860, &panel);
    auto& value = Add<ui::Label>("lblProdDetails", i);
    value.Move(2040, top, 1500, 255);
    value.Container(&panel);
  }
  const char* ordering[] = {"Lead Time:", "Min Order Qty:", "Max Order Qty:", "Service Level:"};
  for (int i = 0; i <= 3; ++i) {
    const int32_t top = 630 + i * 390;
    caption(ordering[i], 3840, top + 30, 1440, &panel);
    text_box("txtProdDetails", i, 5340, top, 1200, &panel);
  }
  const char* stats[] = {"Mean:", "Median:", "Std Dev:"};
  for (int i = 0; i <= 2; ++i) {
    const int32_t top = 660 + i * 390;
    caption(stats[i], 7200, top, 1080, &panel);
    auto& value = Add<ui::Label>("lblStats", i);
    value.Move(8340, top, 1200, 255);
    value.Container(&panel);
  }
}

}  // namespace kvt::host
