// The desk's rules below its screens: how cells are written, how typed
// product text is read, and an order's save refusing what would lose or
// break data: a save over someone else's, on both backends.
#include <gtest/gtest.h>

#include <string>

#include "apps/kvt-host/sessions/desk_context.h"
#include "apps/kvt-host/sessions/grid_table.h"
#include "apps/kvt-host/sessions/order_list.h"
#include "apps/kvt-host/sessions/order_session.h"
#include "apps/kvt-host/sessions/order_store.h"
#include "apps/kvt-host/sessions/product_choices.h"
#include "component/mod_publics.h"
#include "db/demo_database.h"
#include "platform/ui/headless_driver.h"
#include "platform/value/conversions.h"
#include "platform/value/currency.h"
#include "platform/value/date.h"
#include "platform/value/error.h"
#include "services/data_gateway.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/temp_demo_database.h"
#include "tests/support/thread_store_test.h"
#include "tests/support/vb_error.h"

namespace kvt::host {
namespace {

TEST(DeskGridTest, CellsAreWrittenForPeople) {
  struct Case {
    vb::Variant value;
    CellKind kind;
    const char* shown;
  };
  const Decimals decimals{3, 4};
  const Case cases[] = {
      {vb::Variant::Null(), CellKind::kQuantity, ""},
      {vb::Variant(), CellKind::kMoney, ""},
      {1234.5, CellKind::kQuantity, "1,234.500"},
      {vb::Currency::FromDouble(96.4), CellKind::kPrice, "96.4000"},
      {vb::Currency::FromDouble(-1080), CellKind::kMoney, "-1,080.00"},
      {0.005, CellKind::kMoney, "0.01"},
      {std::string("n/a"), CellKind::kMoney, "n/a"},
      {std::string("PO000102"), CellKind::kText, "PO000102"},
      {vb::Date::FromYmd(2026, 11, 2), CellKind::kDate, "02 Nov 2026"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(FormatCell(c.value, c.kind, decimals), c.shown);
  }
  EXPECT_EQ(FormatCell(10.6, CellKind::kQuantity, {0, 2}), "11");
}

TEST(DeskProductsTest, TypedTextNamesACodeALabelOrTheOneCodeItBegins) {
  const std::vector<ProductChoice> choices = {{6, "PNT-PRM5", "Universal primer, 5 l"},
                                              {5, "PNT-WHT5", "Acrylic wall paint white, 5 l"},
                                              {4, "ANC-12", "Sleeve anchor 12 mm, box of 25"}};
  struct Case {
    const char* typed;
    int index;
    int candidates;
  };
  const Case cases[] = {{"anc", 2, 1},    {"  pnt-wht5 ", 1, 1},
                        {"PNT", -1, 2},   {"XYZ-99", -1, 0},
                        {"", -1, 0},      {"ANC-12 \u2014 Sleeve anchor 12 mm, box of 25", 2, 0},
                        {"Sleeve", -1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const ProductLookup found = FindProduct(choices, c.typed);
    EXPECT_EQ(found.index, c.index);
    EXPECT_EQ(found.candidates, c.candidates);
  }
}

// The picker's page: the codes the text begins, in code order, at most the
// page's size, found in a catalogue sorted by code as the session keeps it.
TEST(DeskProductsTest, ThePickerOffersAPageOfTheCodesTypedSoFar) {
  const std::vector<ProductChoice> choices = {{1, "ANC-10", ""},   {2, "anc-12", ""},
                                              {3, "ANC-16", ""},   {4, "BLT-8", ""},
                                              {5, "PNT-PRM5", ""}, {6, "PNT-WHT5", ""}};
  struct Case {
    const char* typed;
    size_t limit;
    std::vector<int> offered;
  };
  const Case cases[] = {
      {"anc-1", 50, {0, 1, 2}}, {" Anc", 2, {0, 1}}, {"", 3, {0, 1, 2}}, {"PNT-W", 50, {5}},
      {"BLT-80", 50, {}},       {"ZZZ", 50, {}},     {"A", 0, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(ChoicesBeginning(choices, c.typed, c.limit), c.offered);
  }
}

class DeskTest : public test_support::ThreadStoreTest<::testing::TestWithParam<data::Backend>> {
 protected:
  DeskContext Desk(const std::string& user = "") {
    return OpenDesk(db_.ConnectionText(), user, db::kDemoCompanyID, db::kDemoDatabaseName);
  }
  std::string Saved(const DeskContext& desk, const std::string& sql) {
    return vb::CStr(desk.connection->Query(sql)->Item(0).Value());
  }

  test_support::TempDemoDatabase db_{"kvt_desk", GetParam()};
};

// The store's lists and refusals, on a file.
class DeskStoreTest : public DeskTest {};
INSTANTIATE_TEST_SUITE_P(File, DeskStoreTest, ::testing::Values(data::Backend::kSQLite),
                         test_support::BackendTestName);

TEST_P(DeskStoreTest, OrderListFiltersBySupplierAndStatusNewestFirst) {
  DeskContext desk = Desk();
  struct Case {
    OrderListFilter filter;
    size_t count;
    const char* first;
  };
  const auto day = [](int month, int d) { return vb::Date::FromYmd(2026, month, d); };
  const Case cases[] = {
      {{0, std::nullopt, std::nullopt, std::nullopt}, 9, "PO000103"},
      {{1, std::nullopt, std::nullopt, std::nullopt}, 5, "PO000103"},
      {{1, OrderProgress::kPartReceived, std::nullopt, std::nullopt}, 3, "PO000110"},
      {{1, OrderProgress::kReceived, std::nullopt, std::nullopt}, 1, "PO000104"},
      {{0, OrderProgress::kOpen, std::nullopt, std::nullopt}, 1, "PO000107"},
      {{3, OrderProgress::kPending, std::nullopt, std::nullopt}, 0, ""},
      // Both ends of a date range are days of it.
      {{0, std::nullopt, day(11, 2), day(11, 18)}, 4, "PO000107"},
      {{1, std::nullopt, day(11, 5), std::nullopt}, 2, "PO000103"},
      {{0, std::nullopt, std::nullopt, day(10, 1)}, 2, "PO000106"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    const OrderList list = ReadOrderList(*desk.connection, db::kDemoCompanyID, c.filter);
    ASSERT_EQ(list.table.rows.size(), c.count);
    ASSERT_EQ(list.order_ids.size(), c.count);
    if (c.count > 0) {
      EXPECT_EQ(list.table.rows[0][0], c.first);
    }
  }
}

TEST_P(DeskStoreTest, PagesFollowEachOtherWithoutGapsOrRepeats) {
  DeskContext desk = Desk();
  // Three orders of one day, so that pages also end between orders of a day.
  desk.connection->Execute(
      "UPDATE PurchaseOrders SET DateOrdered = (SELECT DateOrdered FROM PurchaseOrders "
      "WHERE ID = 2) WHERE ID IN (5, 10)");
  const OrderList whole = ReadOrderList(*desk.connection, db::kDemoCompanyID, {});
  ASSERT_FALSE(whole.has_more);
  for (int32_t page_size : {1, 2, 4}) {
    SCOPED_TRACE(page_size);
    OrderList paged = ReadOrderList(*desk.connection, db::kDemoCompanyID, {}, page_size);
    std::vector<size_t> sizes = {paged.order_ids.size()};
    while (paged.has_more) {
      ReadMoreOrders(*desk.connection, db::kDemoCompanyID, {}, paged, page_size);
      sizes.push_back(paged.order_ids.size());
    }
    EXPECT_EQ(paged.order_ids, whole.order_ids);
    EXPECT_EQ(paged.table.rows, whole.table.rows);
    EXPECT_EQ(sizes.size(), (whole.order_ids.size() + page_size - 1) / page_size);
  }
}

// A file the user may not change (a folder that takes no new files is the
// command line's and the desk screen's test of the same reason).
TEST(DeskReadOnlyTest, ADatabaseThatMayNotBeWrittenOpensReadOnlyAndSaysWhy) {
  component::ResetThreadStore();
  {
    test_support::ReadOnlyFolderDatabase db("kvt_read_only", false);
    DeskContext desk =
        OpenDesk(db::ConnectionTextFor(db.Path()), "", db::kDemoCompanyID, db::kDemoDatabaseName);
    EXPECT_EQ(desk.read_only_reason.rfind("you may not change the file ", 0), 0u)
        << desk.read_only_reason;
    EXPECT_EQ(ReadOrderList(*desk.connection, db::kDemoCompanyID, {}).order_ids.size(), 9u);
    EXPECT_NE(OrderSession(desk).LockedReason(), "");
  }
  component::ResetThreadStore();
}

TEST_P(DeskStoreTest, SavingRefusesAnEmptyOrderAndRemovingAReceivedLine) {
  DeskContext desk = Desk();
  EXPECT_EQ(NextOrderNumber(*desk.connection, db::kDemoCompanyID), "PO000111");

  OrderSession session(desk);
  session.Open(1);  // its first line has goods received against it
  EXPECT_NE(session.RemovalRefusal(0), "");
  EXPECT_EQ(session.RemovalRefusal(1), "");
  // Removed here while someone received goods against it there.
  session.RemoveLine(1);
  desk.connection->Execute("UPDATE PurchaseOrderDetails SET QtyReceived = 1 WHERE ID = 2");
  OrderHeader header = session.Header();
  int32_t status = 0;
  data::RecordSetRef lines = services::DataGateway().OpenRecordset(
      "Exec sp_AO_Select_Order_Details 1", 1, 3, 3, desk.connection, status);
  EXPECT_THROW(WriteOrder(*desk.connection, desk.company_id, header, *lines, {}, {2}, "admin"),
               vb::Error);
  EXPECT_EQ(QtyReceived(*desk.connection, 2), 1);

  session.StartNew(1);
  EXPECT_TRUE(session.Dirty());
  EXPECT_THROW(session.Save(), vb::Error);
}

TEST(DeskOrderVersionTest, TheRefusalSaysWhoChangedTheOrderAndWhen) {
  const vb::Date today = vb::Date::FromYmd(2026, 11, 3);
  struct Case {
    const char* who;
    vb::Variant when;
    const char* message;
  };
  const Case cases[] = {
      {"dana", vb::Date::FromYmdHms(2026, 11, 3, 10, 42, 7),
       "PO000123 was changed by dana at 10:42; reload it"},
      {"dana", vb::Date::FromYmdHms(2026, 11, 2, 16, 5, 0),
       "PO000123 was changed by dana on 02 Nov 2026 at 16:05; reload it"},
      {"", vb::Variant::Null(), "PO000123 was changed by someone else; reload it"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(ChangedElsewhereMessage("PO000123", c.who, c.when, today), c.message);
  }
}

class OrderVersionTest : public DeskTest {};

TEST_P(OrderVersionTest, ASaveOverSomeoneElsesIsRefusedAndOnlyChangedLinesAreWritten) {
  const DeskContext admin = Desk("admin");
  const DeskContext clerk = Desk("clerk");
  OrderSession mine(admin);
  OrderSession theirs(clerk);
  mine.Open(2);  // PO000102: lines 4 and 5
  theirs.Open(2);
  // Line 5 changes behind both desks; a save that rewrote it would undo that.
  admin.connection->Execute("UPDATE PurchaseOrderDetails SET LeadTime = 99 WHERE ID = 5");

  auto buyer = std::make_shared<ui::HeadlessDriver>();
  ui::SetDriver(buyer);
  buyer->Replace("txtODEdit(3)", "7").Click("cmdAction(0)");
  ASSERT_TRUE(theirs.EditLine(0));
  buyer->Click("cmdAction(0)");  // the delivery dialog, as it was filled
  ASSERT_TRUE(theirs.Save().saved);
  EXPECT_EQ(Saved(admin, "SELECT LeadTime FROM PurchaseOrderDetails WHERE ID = 5"), "99");
  EXPECT_EQ(Saved(admin, "SELECT RebateDisc FROM PurchaseOrderDetails WHERE ID = 4"), "7");

  // Refused before the delivery dialog: the buyer is asked nothing (the
  // refusal's words are ChangedElsewhereMessage's, and the desk's test).
  mine.SetReferences("KH-2291-MINE", "", "");
  EXPECT_EQ(test_support::ErrorNumberOf([&] { mine.Save(); }), kOrderChangedElsewhere);
  EXPECT_TRUE(buyer->Problems().empty());
  // The write checks the version itself, for a save that raced past that.
  OrderHeader stale = mine.Header();
  data::RecordSetRef no_lines = admin.connection->Query("SELECT ID FROM Users WHERE ID = 0");
  EXPECT_THROW(WriteOrder(*admin.connection, admin.company_id, stale, *no_lines, {}, {}, "admin"),
               vb::Error);
  EXPECT_EQ(Saved(admin,
                  "SELECT OurRef || '|' || RowVersion || '|' || ChangedBy "
                  "FROM PurchaseOrders WHERE ID = 2"),
            "KH-2291|2|clerk");

  mine.Open(2);  // reloaded: the clerk's rebate, and mine saves again
  EXPECT_FALSE(mine.Dirty());
  buyer->Click("cmdAction(0)");
  EXPECT_TRUE(mine.Save().saved);
  EXPECT_EQ(Saved(admin, "SELECT RowVersion FROM PurchaseOrders WHERE ID = 2"), "3");
}

KVT_INSTANTIATE_BACKENDS(OrderVersionTest);

}  // namespace
}  // namespace kvt::host
