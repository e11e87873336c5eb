#include "documents/purchase_order_printing.h"

#include <gtest/gtest.h>

#include <string>

#include "documents/purchase_order_sample.h"
#include "platform/report/recording_output.h"
#include "platform/value/conversions.h"
#include "purchase_order_db.h"

namespace kvt::documents {
namespace {

using report::RecordingOutput;
using testing::PurchaseOrderDb;

constexpr int kRowsPerPage = 30;

// The sum of `column` over the order's lines, as the footer shows it.
std::string FooterSum(report::MemoryTable& data, const std::string& column) {
  int index = 0;
  while (index < data.FieldCount() && data.FieldName(index) != column) ++index;
  EXPECT_LT(index, data.FieldCount()) << column;
  vb::Currency sum;
  for (bool more = data.MoveFirst(); more; more = data.MoveNext()) {
    sum += vb::CCur(data.Value(index));
  }
  return vb::Format(sum, "#,##0.00");
}

void ExpectFooterTotals(const report::Page& page, report::MemoryTable& data) {
  const std::pair<const char*, const char*> totals[] = {{"fldPFSubTotal", "Net Amount"},
                                                        {"fldPFTaxTotal", "Tax Amount"},
                                                        {"fldPFOrderTotal", "Total Cost"}};
  for (const auto& [field, column] : totals) {
    EXPECT_EQ(page.FindText(field)->text, FooterSum(data, column)) << field;
  }
}

class PurchaseOrderPrintingTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  // Prints order kOrderId (or `order_id`) and returns what reached the
  // output; exactly one call is expected.
  const RecordingOutput::Call& Print(bool show_preview = true, bool reprint = false,
                                     int32_t order_id = PurchaseOrderDb::kOrderId,
                                     const std::string& connection_text = {}) {
    services::DataGateway gateway;
    const size_t before = output_.Calls().size();
    PrintPurchaseOrder(order_id, show_preview, PurchaseOrderDb::kDatabase, reprint,
                       connection_text.empty() ? db_.ConnectionText() : connection_text, gateway,
                       output_);
    EXPECT_EQ(output_.Calls().size(), before + 1);
    return output_.Calls().back();
  }

  PurchaseOrderDb db_{GetParam()};
  RecordingOutput output_;
};
KVT_INSTANTIATE_BACKENDS(PurchaseOrderPrintingTest);

TEST(PurchaseOrderLayoutChoiceTest, OnlyTheNumberOneAsksForTheBoxedLayout) {
  struct Case {
    const char* saved;
    bool boxed;
  };
  const Case cases[] = {{"1", true},   {" 1 ", true},    {"1.0", true},    {"0", false},
                        {"2", false},  {"", false},      {"-1", false},    {"yes", false},
                        {"10", false}, {"1e999", false}, {"-1e999", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("saved '") + c.saved + "'");
    EXPECT_EQ(WantsBoxedPurchaseOrder(c.saved), c.boxed);
    EXPECT_EQ(NewPurchaseOrderLayout(c.saved)->Name(),
              c.boxed ? "rptPurchaseOrder" : "rptPurchaseOrderNG");
  }
}

TEST_P(PurchaseOrderPrintingTest, SavedPreferencePicksTheLayoutAndPrinter) {
  struct Case {
    const char* preference;  // nullptr: nothing saved
    bool boxed;
  };
  const Case cases[] = {{"1", true}, {"0", false}, {"2", false}, {nullptr, false}, {"abc", false}};
  db_.AddOrder(*SamplePurchaseOrderData(2));
  db_.SaveControlValue("ComboBox", "cboPrinters", 6, "Office Laser");
  db_.SaveControlValue("ComboBox", "cboPrinters", 7, "Voucher Printer");
  db_.SaveControlValue("CheckBox", "chkPOGRVForm", 1, "1");  // the vouchers', not ours
  for (const Case& c : cases) {
    SCOPED_TRACE(c.preference ? c.preference : "none");
    db_.SaveControlValue("CheckBox", "chkPOGRVForm", 0, c.preference);
    const auto& call = Print(false);
    EXPECT_EQ(call.action, RecordingOutput::Action::Print);
    EXPECT_EQ(call.target, "Office Laser");
    const report::Page& page = call.document.pages.at(0);
    EXPECT_EQ(page.Has("Shape1"), c.boxed);
    EXPECT_EQ(page.Has("Line39"), c.boxed);
  }
}

TEST_P(PurchaseOrderPrintingTest, FieldsShowTheirColumnsAtTheirPlaces) {
  auto data = SamplePurchaseOrderData(3);
  db_.AddOrder(*data);
  db_.SaveControlValue("CheckBox", "chkPOGRVForm", 0, "1");
  const auto& call = Print();
  EXPECT_EQ(call.action, RecordingOutput::Action::Preview);
  EXPECT_EQ(call.target, "");
  EXPECT_EQ(call.document.title, "Brellix Purchase Order");
  ASSERT_EQ(call.document.pages.size(), 1u);
  const report::Page& page = call.document.pages[0];
  // Where each control stands is the layout's; that it shows its column is
  // the printing's.
  // clang-format off
  const std::pair<const char*, const char*> header[] = {
      {"fldRHSupName", "Acme Industrial Supplies (Pty) Ltd"}, {"fldRHCoName", "Brellix Trading Ltd"},
      {"fldRHCoPOBox", "14 Mill Road"}, {"fldRHDateOrdered", "04/12/2026"},
      {"fldRHDocumentNo", "1234"},      {"fldOHPageNo", "1"},
      {"fldRHRep", "J. Mokoena"},       {"fldRHYourRef", "Q-7781"},
      {"lblRHDocumentType", " Purchase Order"}, {"RePrintFlag", ""}};
  // clang-format on
  for (const auto& [control, text] : header) {
    ASSERT_NE(page.FindText(control), nullptr) << control;
    EXPECT_EQ(page.FindText(control)->text, text) << control;
  }
  EXPECT_EQ(page.FindTexts("fldRDSubTotal").size(), 3u);
  EXPECT_EQ(page.FindTexts("fldRDUnitPrice")[0]->text, "12.50");
  EXPECT_EQ(page.FindTexts("fldRDOrderQty")[2]->text, "3.00");
  EXPECT_EQ(page.FindText("fldRDProductDescf")->text.rfind("Please quote", 0), 0u);
  ExpectFooterTotals(page, *data);
  // Only a reprint is marked (the call before is gone after another print).
  EXPECT_EQ(Print(true, true).document.pages[0].FindText("RePrintFlag")->text, "Re-Print");
}

TEST_P(PurchaseOrderPrintingTest, LongOrderRepeatsHeaderAndShowsTheOrderTotalsOnEveryPage) {
  auto data = SamplePurchaseOrderData(2 * kRowsPerPage + 15);
  db_.AddOrder(*data);
  const auto& doc = Print().document;
  ASSERT_EQ(doc.pages.size(), 3u);
  int line = 0;
  for (const report::Page& page : doc.pages) {
    SCOPED_TRACE("page " + std::to_string(page.number));
    EXPECT_EQ(page.FindText("fldRHSupName")->text, "Acme Industrial Supplies (Pty) Ltd");
    EXPECT_EQ(page.FindText("fldOHPageNo")->text, std::to_string(page.number));
    EXPECT_TRUE(page.Has("Label8"));
    ExpectFooterTotals(page, *data);
    for (const auto* code : page.FindTexts("fldRDProductCode")) {
      EXPECT_EQ(code->text, "PRD-" + std::to_string(10000 + ++line));
    }
  }
  EXPECT_EQ(line, 2 * kRowsPerPage + 15);
}

TEST_P(PurchaseOrderPrintingTest, UnknownOrderOrUnreachableDatabaseGiveAnEmptyDocument) {
  db_.AddOrder(*SamplePurchaseOrderData(2));
  db_.SaveControlValue("CheckBox", "chkPOGRVForm", 0, "1");
  db_.SaveControlValue("ComboBox", "cboPrinters", 6, "Office Laser");
  struct Case {
    const char* name;
    int32_t order_id;
    std::string connection_text;
    bool boxed;
    const char* printer;
  };
  const Case cases[] = {
      {"no such order", 999999, db_.ConnectionText(), true, "Office Laser"},
      {"unreadable connection text", PurchaseOrderDb::kOrderId, "Provider=Oracle", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto& call = Print(true, false, c.order_id, c.connection_text);
    EXPECT_EQ(call.target, c.printer);
    ASSERT_EQ(call.document.pages.size(), 1u);
    const report::Page& page = call.document.pages[0];
    EXPECT_EQ(page.Has("Shape1"), c.boxed);
    EXPECT_EQ(page.FindText("fldRHSupName")->text, "");
    EXPECT_TRUE(page.FindTexts("fldRDProductCode").empty());
    EXPECT_EQ(page.FindText("Label4")->text, "Order No:");
  }
}

}  // namespace
}  // namespace kvt::documents
