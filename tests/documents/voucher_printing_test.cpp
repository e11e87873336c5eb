#include "documents/voucher_printing.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/report/recording_output.h"
#include "voucher_db.h"

namespace kvt::documents {
namespace {

using report::RecordingOutput;
using testing::VoucherDb;
using testing::VoucherLine;

constexpr int32_t kMissing = 999;

// Which layout drew `page`, told by the controls only it has.
std::string LayoutOf(const report::Page& page) {
  if (page.Has("fldNotes")) return page.Has("Shape10") ? "rptGoodsReceived" : "rptGoodsReceivedNG";
  return page.Has("Line45") ? "rptGoodsReturned" : "rptGoodsReturnedNG";
}

std::string TextOf(const report::Page& page, const char* control) {
  const report::TextItem* item = page.FindText(control);
  return item == nullptr ? "<none>" : item->text;
}

class VoucherPrintingTest : public ::testing::TestWithParam<data::Backend> {
 protected:
  // Prints voucher `grv_id` and returns what reached the preview.
  const RecordingOutput::Call& Print(int32_t grv_id, bool reprint = false, int decimals = 2,
                                     const std::string& connection = {}) {
    services::DataGateway gateway;
    const size_t before = output_.Calls().size();
    PrintGRVReport(grv_id, 1, VoucherDb::kDatabase, reprint,
                   connection.empty() ? db_.ConnectionText() : connection, decimals, decimals,
                   gateway, output_);
    EXPECT_EQ(output_.Calls().size(), before + 1);
    EXPECT_EQ(output_.Calls().back().action, RecordingOutput::Action::Preview);
    return output_.Calls().back();
  }

  VoucherDb db_{GetParam()};
  RecordingOutput output_;
};

TEST_P(VoucherPrintingTest, KindAndSavedPreferencePickLayoutCaptionsMarkAndPrinter) {
  struct Kind {
    int32_t tran_type;  // 0: no such voucher
    int preference_index;
    bool returned;
    const char* title;
    const char* number;
  };
  const Kind kinds[] = {
      {19, 1, false, " Goods Received Voucher", "GRV Number:"},
      {20, 2, true, " Goods Returned Voucher", "GRV Number:"},
      {31, 1, false, "Consignment Received Voucher", "CRV Number:"},
      {32, 2, false, "Consignment Returned Voucher", "CRN Number:"},
      {99, 2, false, " Goods Received Voucher", "GRV Number:"},
      {0, 2, false, " Goods Received Voucher", "GRV Number:"},
  };
  // Every other one is a reprint, so each layout is printed with and
  // without the copy mark.
  const char* preferences[] = {"0", "2", "1", "abc", "1e999", nullptr};
  db_.SaveControlValue("ComboBox", "cboPrinters", 6, "Order Printer");
  db_.SaveControlValue("ComboBox", "cboPrinters", 7, "No Such Printer 7");
  for (const Kind& kind : kinds) {
    if (kind.tran_type != 0) db_.AddVoucher(kind.tran_type, kind.tran_type, 2);
    for (size_t index = 0; index < std::size(preferences); ++index) {
      const char* preference = preferences[index];
      const bool plain = index < 2;
      const bool reprint = index % 2 == 1;
      SCOPED_TRACE("type " + std::to_string(kind.tran_type) + ", saved " +
                   (preference ? preference : "nothing"));
      // The element not meant for this kind asks for the other layout.
      db_.SaveControlValue("CheckBox", "chkPOGRVForm", kind.preference_index, preference);
      db_.SaveControlValue("CheckBox", "chkPOGRVForm", 3 - kind.preference_index,
                           plain ? "1" : "0");
      const auto& call = Print(kind.tran_type != 0 ? kind.tran_type : kMissing, reprint);
      EXPECT_EQ(call.target, "No Such Printer 7");
      const report::Page& page = call.document.pages.at(0);
      EXPECT_EQ(LayoutOf(page),
                std::string(kind.returned ? "rptGoodsReturned" : "rptGoodsReceived") +
                    (plain ? "NG" : ""));
      EXPECT_EQ(TextOf(page, "lblRHDocumentType"), kind.title);
      EXPECT_EQ(TextOf(page, "lblGRVNo"), kind.number);
      EXPECT_EQ(TextOf(page, "RePrintFlag"), reprint ? "Copy" : "");
      EXPECT_EQ(page.FindTexts("fldRDProductCode").size(), kind.tran_type != 0 ? 2u : 0u);
      // Every header column reaches its field, returns' order number too.
      for (const char* field : {"fldRHSupName", "fldRHCoTaxNo", "fldRHDateReceived", "fldRHGRVID",
                                "fldRHReceivedBy", "fldRHOrderNo"}) {
        EXPECT_EQ(TextOf(page, field).empty(), kind.tran_type == 0) << field;
      }
    }
  }
}

TEST_P(VoucherPrintingTest, QuantityAndPriceFormatsFollowTheDecimalsSettings) {
  VoucherLine line;
  line.qty = 1234.5678;
  line.amounts[0] = "1234.5678";
  db_.AddVoucher(19, 19, 1, line);
  struct Case {
    int decimals;
    const char* qty;
    const char* price;
  };
  const Case cases[] = {
      {-1, "1,234.57", "1,234.57"}, {0, "1,235", "1,234.57"},      {1, "1,234.6", "1,234.57"},
      {2, "1,234.57", "1,234.57"},  {3, "1,234.568", "1,234.568"}, {4, "1,234.57", "1,234.5678"},
      {9, "1,234.57", "1,234.57"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("decimals " + std::to_string(c.decimals));
    const report::Page& page = Print(19, false, c.decimals).document.pages[0];
    EXPECT_EQ(TextOf(page, "fldRDReceivedQty"), c.qty);
    EXPECT_EQ(TextOf(page, "fldRDUnitPrice"), c.price);
    EXPECT_EQ(TextOf(page, "fldRDTradeDisc"), "1.00");
  }
}

TEST_P(VoucherPrintingTest, MissingColumnsOrDatabaseLeaveFieldsEmptyAndTheRestPrints) {
  db_.AddVoucher(19, 19, 2);
  db_.DropColumn("Username");
  db_.DropColumn("Unit Price");
  const report::Page& page = Print(19).document.pages[0];
  EXPECT_EQ(TextOf(page, "fldRHReceivedBy"), "");
  EXPECT_EQ(TextOf(page, "fldRDUnitPrice"), "");
  EXPECT_EQ(TextOf(page, "fldRHSupName"), "Harbour Fasteners CC");
  EXPECT_EQ(TextOf(page, "fldNotes"), "Counted at the dock.");

  const auto& lost = Print(19, false, 2, "Provider=SQLite;Data Source=/nonexistent/v.db");
  ASSERT_EQ(lost.document.pages.size(), 1u);
  EXPECT_EQ(LayoutOf(lost.document.pages[0]), "rptGoodsReceived");
  EXPECT_EQ(TextOf(lost.document.pages[0], "fldRHSupName"), "");
  EXPECT_EQ(TextOf(lost.document.pages[0], "Label4"), "Delivery Note No:");
}

// How bands fill pages is the report's; here, that the footer's totals are
// the voucher's columns over all its lines.
TEST_P(VoucherPrintingTest, ALongVoucherShowsItsTotalsOnEveryPage) {
  db_.AddVoucher(19, 19, 50);
  const auto& document = Print(19).document;
  ASSERT_EQ(document.pages.size(), 2u);
  for (const report::Page& page : document.pages) {
    EXPECT_EQ(TextOf(page, "fldPFSubTotal"), "1,787.50");
    EXPECT_EQ(TextOf(page, "fldPFTaxTotal"), "268.00");
    EXPECT_EQ(TextOf(page, "fldPFGRVTotal"), "2,055.50");
  }
}

KVT_INSTANTIATE_BACKENDS(VoucherPrintingTest);

}  // namespace
}  // namespace kvt::documents
