// Steps 1 to 3 of the story: the purchase order built line by line through
// the order item dialog, saved with the delivery details the buyer
// confirms in the delivery dialog, and printed.
#include <iterator>
#include <memory>

#include "apps/kvt-host/posting/voucher_kind.h"
#include "apps/kvt-host/story/story_steps.h"
#include "kvt/COrder.h"
#include "orders/order_detail_rows.h"
#include "platform/data/record_set.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/value/conversions.h"
#include "services/data_gateway.h"

namespace kvt::host {

namespace {

// The host's order header: the seven total labels COrder fills.
class OrderTotals : public ui::Form {
 public:
  OrderTotals() : Form("frmOrderHeader") {}
  std::string Total(int index) { return Ctl<ui::Label>("lblOHeaderEdit", index).Caption(); }

 protected:
  void Build() override {
    for (int i = 1; i <= 7; ++i) Add<ui::Label>("lblOHeaderEdit", i);
  }
};

vb::Variant AsVariant(const std::shared_ptr<vb::Object>& object) {
  return vb::Variant(vb::ObjectRef(object));
}

// The order-detail columns the order's lines are saved from, with the
// table columns they go to.
struct SavedColumn {
  const char* row;
  const char* table;
};
constexpr SavedColumn kSavedColumns[] = {
    {"Products ID", "ProductID"},
    {"Lead Time", "LeadTime"},
    {"Qty", "Qty"},
    {"B/O Qty", "BOQty"},
    {"Free Qty", "FreeQty"},
    {"Unit Price", "UnitPrice"},
    {"Trade_Discount_Formula_ID", "TradeDiscountFormulaID"},
    {"Trade Disc", "TradeDisc"},
    {"Rebate_Formula_ID", "RebateFormulaID"},
    {"Rebate Disc", "RebateDisc"},
    {"Other_Discount_Formula_ID", "OtherDiscountFormulaID"},
    {"Other Disc", "OtherDisc"},
    {"Net Amount", "NetAmount"},
    {"Tax_Codes_ID", "TaxCodesID"},
    {"Tax", "Tax"},
    {"Total Cost", "TotalCost"},
};

struct Delivery {
  std::string name, address1, address2, address3, post_code;
};

// What the buyer confirmed in the delivery dialog.
struct OrderHeader {
  std::string number;
  bool process_now = false;
  bool preview = false;
  Delivery delivery;
};

class OrderStory {
 public:
  explicit OrderStory(Story& story)
      : story_(story),
        log_(story.log),
        db_(services::DataGateway().OpenConnection(story.Context().connection_text, -1, 3)) {}

  bool Run() {
    header_.number = NextOrderNumber();
    if (!BuildLines()) return false;
    if (!ConfirmDelivery() || !Save()) return false;
    return Print();
  }

 private:
  std::string NextOrderNumber() {
    auto last = db_->Query(
        "SELECT OrderNumber FROM PurchaseOrders WHERE CompanyID = ?1 AND OrderNumber LIKE 'PO%' "
        "ORDER BY LENGTH(OrderNumber) DESC, OrderNumber DESC LIMIT 1",
        {vb::Variant(story_.Context().company_id)});
    return posting::NextVoucherNumber("PO", last->IsEOF() ? "" : vb::CStr(last->Item(0).Value()));
  }

  vb::Variant Product(int32_t id) {
    services::DataGateway gateway;
    data::ConnectionRef connection =
        gateway.OpenConnection(story_.Context().connection_text, -1, 3);
    int32_t status = 0;
    return AsVariant(gateway.OpenRecordset("Exec sp_AO_Select_Product_Details " +
                                               std::to_string(id),
                                           1, 3, 3, connection, status));
  }

  // One line: the host fills the dialog, the scripted buyer works it, the
  // host reads the line back and writes it.
  bool Line(const std::string& what, const std::function<void()>& fill, const Script& buyer,
            const std::function<void()>& store) {
    log_.Line(what);
    fill();
    const bool accepted = log_.AsUser(buyer, [&] {
      order_.ShowDetailForm();
      return order_.IsEditFormLoaded();
    });
    if (!accepted) return log_.Check(false, "the buyer accepted the line");
    log_.Line("accepted: qty " + order_.Order_Qty() + " at " + order_.Unit_Price() + ", trade " +
                  order_.Trade_Discount() + ", rebate " + order_.Rebate_Discount() + ", other " +
                  order_.Other_Discount() + ", net " + order_.Net_Amount() + ", tax " +
                  order_.Tax() + ", total " + order_.Total_Cost(),
              2);
    store();
    return true;
  }

  bool BuildLines() {
    log_.Heading("A purchase order for " + story_.supplier_name + ", line by line");
    log_.Line("Order " + header_.number + ", through the order item dialog:");
    const HostContext& context = story_.Context();
    order_.ConnectionString(context.connection_text);
    order_.CompanyID(context.company_id);
    order_.UserID(context.user_id);
    order_.QtyDecimals(context.qty_decimals);
    order_.PriceDecimals(context.price_decimals);
    order_.LoadDetailForm();
    lines_ = orders::NewOrderDetailSet();
    auto add = [&] { order_.AddOrderDetailToRS(AsVariant(lines_)); };
    auto adding = [&](int32_t product, double qty) {
      return [this, product, qty] { order_.AssignAllForAdding(Product(product), qty, header_.number); };
    };
    auto accept = [](ui::HeadlessDriver& buyer) { buyer.Click("cmdAction(0)"); };
    const bool built =
        Line("Add NUT-M10 (no formulas, no tax code on the product): 20 boxes as proposed",
             adding(2, 20), accept, add) &&
        Line("Add BLT-M10 (trade 5% and rebate 2% formulas ticked): proposed 10, the buyer "
             "makes it 12, presses Enter, accepts",
             adding(1, 10),
             [](ui::HeadlessDriver& buyer) {
               buyer.Replace("txtODEdit(0)", "12").Press(ui::vbKeyReturn).Click("cmdAction(0)");
             },
             add) &&
        Line("Add ANC-12 (trade 2.5% formula, rounded): 20 boxes as proposed", adding(4, 20),
             accept, add) &&
        Line("Edit the ANC-12 line: the buyer types a rebate of 25.00 and applies",
             [&] {
               lines_->MoveLast();
               order_.AssignAllForEditing(Product(4), AsVariant(lines_), header_.number);
             },
             [](ui::HeadlessDriver& buyer) {
               buyer.Replace("txtODEdit(3)", "25").Click("cmdAction(2)").Click("cmdAction(0)");
             },
             [&] {
               order_.UpdateOrderDetailRS(AsVariant(lines_));
               lines_->Update();  // committing the row is the host's part
             });
    order_.UnloadDetailForm();
    if (!built) return false;
    story_.product_ids = {2, 1, 4};

    auto totals = std::make_shared<OrderTotals>();
    totals->Load();
    order_.CalculateHeaderTotals(AsVariant(lines_), totals->Get("lblOHeaderEdit"));
    log_.Line("Order lines:");
    std::vector<std::vector<std::string>> rows;
    for (lines_->MoveFirst(); !lines_->IsEOF(); lines_->MoveNext()) {
      data::RecordSet& row = *lines_;
      rows.push_back({Shown(row.Item("Product").Value()), Qty(vb::CDbl(row.Item("Qty").Value())),
                      Money(row.Item("Unit Price").Value()), Money(row.Item("Trade Disc").Value()),
                      Money(row.Item("Rebate Disc").Value()), Money(row.Item("Net Amount").Value()),
                      Money(row.Item("Tax").Value()), Money(row.Item("Total Cost").Value())});
    }
    log_.Table({"Product", ">Qty", ">Price", ">Trade", ">Rebate", ">Net", ">Tax", ">Total"}, rows);
    const char* captions[] = {"Trade discount", "Rebate discount", "Other discount",
                              "Net amount",     "Tax",             "Order total", "Quantity"};
    std::vector<std::vector<std::string>> total_rows;
    for (int i = 1; i <= 7; ++i) total_rows.push_back({captions[i - 1], totals->Total(i)});
    log_.Line("Header totals (COrder):");
    log_.Table({"Total", ">Amount"}, total_rows);
    order_total_ = totals->Total(6);
    return log_.Check(lines_->RecordCount() == 3,
                      "three lines in the host's order set, the edit kept on the third");
  }

  Delivery LastDelivery() {
    // The dialog starts from where the company's last order was delivered.
    auto last = db_->Query(
        "SELECT DelName, DelAddr1, DelAddr2, DelAddr3, DelPostCode FROM PurchaseOrders "
        "WHERE CompanyID = ?1 AND DelName IS NOT NULL ORDER BY DateOrdered DESC, ID DESC LIMIT 1",
        {vb::Variant(story_.Context().company_id)});
    if (last->IsEOF()) return {};
    auto text = [&](int i) { return Shown(last->Item(i).Value()); };
    return {text(0), text(1), text(2), text(3), text(4)};
  }

  bool ConfirmDelivery() {
    log_.Heading("Saved with delivery details");
    const Delivery proposed = LastDelivery();
    order_.LoadDeliveryForm();
    order_.Order_No(header_.number);
    order_.Date_Ordered(vb::CStr(vb::Variant(story_.date)));
    order_.Supplier_Name(story_.supplier_name);
    order_.Created_By(user_name_ = UserName());
    order_.Del_Name(proposed.name);
    order_.Del_Address1(proposed.address1);
    order_.Del_Address2(proposed.address2);
    order_.Del_Address3(proposed.address3);
    order_.Del_PostCode(proposed.post_code);
    log_.Line("The delivery dialog is filled from the order and the company's last delivery: " +
              header_.number + " for " + story_.supplier_name + ", by " + user_name_ +
              ", to " + Address(proposed));
    const std::string typed = "Receiving Bay 3, " + proposed.address1;
    log_.Line("The buyer changes the first address line to \"" + typed +
              "\", chooses to process the order now, ticks the preview and confirms");
    const bool confirmed = log_.AsUser(
        [&](ui::HeadlessDriver& buyer) {
          buyer.Replace("txtDelAddr(1)", typed)
              .Click("optChoice(0)")
              .Click("chkShow")
              .Click("cmdAction(0)");
        },
        [&] {
          order_.ShowDeliveryForm();
          return order_.IsDeliveryFormLoaded();
        });
    if (!log_.Check(confirmed, "the buyer confirmed the delivery dialog")) return false;
    header_.process_now = order_.OrderNow();
    header_.preview = order_.Show_Report_Preview();
    header_.delivery = {order_.Del_Name(), order_.Del_Address1(), order_.Del_Address2(),
                        order_.Del_Address3(), order_.Del_PostCode()};
    order_.UnloadDeliveryForm();
    log_.Line("The host reads back: process now " + YesNo(header_.process_now) + ", preview " +
              YesNo(header_.preview) + ", deliver to " + Address(header_.delivery));
    return log_.Check(header_.process_now && header_.preview &&
                          header_.delivery.address1 == typed,
                      "the dialog gave back the buyer's choices and address");
  }

  bool Save() {
    const HostContext& context = story_.Context();
    const Delivery& d = header_.delivery;
    db_->RunInTransaction([&] {
      story_.outcome.order_id = vb::CLng(
          db_->Query("INSERT INTO PurchaseOrders (CompanyID, SupplierID, OrderNumber, "
                     "DateOrdered, Status, DelName, DelAddr1, DelAddr2, DelAddr3, DelPostCode) "
                     "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10) RETURNING ID",
                     {vb::Variant(context.company_id), vb::Variant(story_.supplier_id),
                      vb::Variant(header_.number), vb::Variant(story_.date),
                      vb::Variant(header_.process_now ? 1 : 0), vb::Variant(d.name),
                      vb::Variant(d.address1), vb::Variant(d.address2), vb::Variant(d.address3),
                      vb::Variant(d.post_code)})
              ->Item(0)
              .Value());
      std::string columns = "PurchaseOrderID", places = "?1";
      for (size_t i = 0; i < std::size(kSavedColumns); ++i) {
        columns += std::string(", ") + kSavedColumns[i].table;
        places += ", ?" + std::to_string(i + 2);
      }
      for (lines_->MoveFirst(); !lines_->IsEOF(); lines_->MoveNext()) {
        std::vector<vb::Variant> values = {vb::Variant(story_.outcome.order_id)};
        for (const SavedColumn& column : kSavedColumns) {
          values.push_back(lines_->Item(column.row).Value());
        }
        db_->Execute("INSERT INTO PurchaseOrderDetails (" + columns + ") VALUES (" + places + ")",
                     values);
      }
    });
    story_.outcome.order_number = header_.number;
    auto saved = db_->Query(
        "SELECT po.Status, po.DelAddr1, COUNT(d.ID), COALESCE(SUM(d.TotalCost), 0) "
        "FROM PurchaseOrders po JOIN PurchaseOrderDetails d ON d.PurchaseOrderID = po.ID "
        "WHERE po.ID = ?1 GROUP BY po.Status, po.DelAddr1",
        {vb::Variant(story_.outcome.order_id)});
    const std::string saved_total = Money(vb::CCur(saved->Item(3).Value()));
    log_.Line("Saved " + header_.number + " as a processed order with " +
              Shown(saved->Item(2).Value()) + " lines, total " + saved_total);
    return log_.Check(vb::CLng(saved->Item(0).Value()) == 1 &&
                          Shown(saved->Item(1).Value()) == d.address1,
                      "the order is open for receiving and holds the address the buyer typed") &&
           log_.Check(saved_total == order_total_, "the saved lines add up to the order total");
  }

  bool Print() {
    log_.Heading("Printed");
    return story_.PrintToPdf("purchase order " + header_.number,
                             header_.number, [&] {
                               order_.ShowPurchaseOrder(story_.outcome.order_id, header_.preview,
                                                        story_.Context().database_name);
                             });
  }

  std::string UserName() {
    auto user = db_->Query("SELECT Username FROM Users WHERE ID = ?1",
                           {vb::Variant(story_.Context().user_id)});
    return user->IsEOF() ? std::string() : Shown(user->Item(0).Value());
  }

  static std::string YesNo(bool value) { return value ? "yes" : "no"; }
  static std::string Address(const Delivery& d) {
    return "\"" + d.name + "\", \"" + d.address1 + "\", \"" + d.address2 + "\", \"" +
           d.address3 + "\", \"" + d.post_code + "\"";
  }

  Story& story_;
  StoryLog& log_;
  data::ConnectionRef db_;
  COrder order_;
  data::RecordSetRef lines_;
  OrderHeader header_;
  std::string user_name_;
  std::string order_total_;
};

}  // namespace

bool OrderSteps(Story& story) { return OrderStory(story).Run(); }

}  // namespace kvt::host
