#include "platform/data/record_set.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/value/error.h"
#include "tests/support/vb_error.h"

namespace kvt::data {
namespace {

// A host-style order detail set: the kinds of field the component writes.
std::shared_ptr<RecordSet> OrderLines(int rows) {
  auto set = std::make_shared<RecordSet>();
  set->Fields().Append("Products ID", DataType::kInteger);
  set->Fields().Append("Product", DataType::kVarWChar);
  set->Fields().Append("Qty", DataType::kDouble);
  set->Fields().Append("Unit Price", DataType::kCurrency);
  set->Open();
  for (int i = 1; i <= rows; ++i) {
    set->AppendRow({vb::Variant(i), vb::Variant("Item " + std::to_string(i)),
                    vb::Variant(static_cast<double>(i * 10)),
                    vb::Variant(vb::Currency::FromInt(i))});
  }
  set->MoveFirst();
  return set;
}

using test_support::ErrorNumberOf;
using test_support::ErrorOf;
using Operations = std::vector<std::pair<const char*, std::function<void()>>>;

// Each operation raises `number` with `description`.
void ExpectEachRaises(const Operations& operations, int32_t number,
                      const std::string& description) {
  for (const auto& [name, operation] : operations) {
    SCOPED_TRACE(name);
    const vb::Error error = ErrorOf(operation);
    EXPECT_EQ(error.number(), number);
    EXPECT_EQ(error.description(), description);
  }
}

TEST(RecordSetTest, AddNewToEmptySetLeavesOneCurrentRow) {
  auto set = OrderLines(0);
  EXPECT_TRUE(set->IsBOF());
  EXPECT_TRUE(set->IsEOF());
  EXPECT_EQ(set->RecordCount(), 0);

  set->AddNew();
  EXPECT_EQ(set->GetEditMode(), EditMode::kAdd);
  EXPECT_EQ(set->RecordCount(), 1);
  EXPECT_TRUE(set->Item("Qty").IsNull());
  set->Item("Product").Value(vb::Variant("Bolt"));
  set->MoveFirst();

  EXPECT_EQ(set->GetEditMode(), EditMode::kNone);
  EXPECT_EQ(set->RecordCount(), 1);
  EXPECT_FALSE(set->IsEOF());
  EXPECT_EQ(set->Item("Product").Value(), vb::Variant("Bolt"));
}

TEST(RecordSetTest, MoveCommitsAPendingFieldEdit) {
  auto set = OrderLines(2);
  set->Item("Unit Price").Value(vb::Variant("7.25"));
  EXPECT_EQ(set->GetEditMode(), EditMode::kInProgress);
  set->MoveNext();
  EXPECT_EQ(set->GetEditMode(), EditMode::kNone);
  set->CancelUpdate();  // nothing pending any more: must not undo the write
  set->MovePrevious();
  EXPECT_EQ(set->Item("Unit Price").Value(), vb::Variant(vb::Currency::FromRaw(72500)));
}

TEST(RecordSetTest, CancelUpdateUndoesEditsAndDropsANewRow) {
  auto set = OrderLines(2);
  set->MoveNext();
  set->Item("Product").Value(vb::Variant("Changed"));
  set->CancelUpdate();
  EXPECT_EQ(set->Item("Product").Value(), vb::Variant("Item 2"));

  set->AddNew();
  set->CancelUpdate();
  EXPECT_EQ(set->RecordCount(), 2);
  EXPECT_EQ(set->Item("Product").Value(), vb::Variant("Item 2"));
}

TEST(RecordSetTest, BookmarkReturnsToItsRow) {
  auto set = OrderLines(3);
  set->MoveNext();
  const vb::Variant mark = set->Bookmark();
  set->MoveLast();
  set->AddNew();  // the pending row is committed by the bookmark move
  set->Bookmark(mark);
  EXPECT_EQ(set->Item("Product").Value(), vb::Variant("Item 2"));
  EXPECT_EQ(set->RecordCount(), 4);
  EXPECT_EQ(set->GetEditMode(), EditMode::kNone);

  EXPECT_EQ(ErrorNumberOf([&] { set->Bookmark(vb::Variant(999)); }), vb::err::kAdoInvalidArgument);
  EXPECT_EQ(ErrorNumberOf([&] { set->Bookmark(vb::Variant("x")); }), vb::err::kAdoInvalidArgument);
  set->MoveLast();
  set->MoveNext();
  EXPECT_EQ(ErrorNumberOf([&] { set->Bookmark(); }), vb::err::kAdoNoCurrentRecord);
}

TEST(RecordSetTest, NavigationBeyondTheEndsRaisesNoCurrentRecord) {
  auto set = OrderLines(1);
  set->MoveNext();
  EXPECT_TRUE(set->IsEOF());
  EXPECT_FALSE(set->IsBOF());
  EXPECT_EQ(ErrorNumberOf([&] { set->MoveNext(); }), vb::err::kAdoNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { set->Item("Qty").Value(); }), vb::err::kAdoNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { set->Item("Qty").Value(vb::Variant(1)); }),
            vb::err::kAdoNoCurrentRecord);
  set->MoveFirst();
  set->MovePrevious();
  EXPECT_TRUE(set->IsBOF());
  EXPECT_EQ(ErrorNumberOf([&] { set->MovePrevious(); }), vb::err::kAdoNoCurrentRecord);
  EXPECT_EQ(ErrorOf([&] { set->Update(); }).description(),
            "Either BOF or EOF is True, or the current record has been "
            "deleted. Requested operation requires a current record.");
}

TEST(RecordSetTest, ClosedSetRefusesEveryRowOperation) {
  auto set = OrderLines(2);
  set->Close();
  EXPECT_EQ(set->State(), 0);
  EXPECT_EQ(set->Fields().Count(), 4);  // definitions survive closing
  ExpectEachRaises(
      {
          {"RecordCount", [&] { set->RecordCount(); }},
          {"IsEOF", [&] { set->IsEOF(); }},
          {"IsBOF", [&] { set->IsBOF(); }},
          {"MoveFirst", [&] { set->MoveFirst(); }},
          {"MoveNext", [&] { set->MoveNext(); }},
          {"MoveLast", [&] { set->MoveLast(); }},
          {"AddNew", [&] { set->AddNew(); }},
          {"Update", [&] { set->Update(); }},
          {"Value", [&] { set->Item("Qty").Value(); }},
          {"Close", [&] { set->Close(); }},
      },
      vb::err::kAdoObjectClosed, "Operation is not allowed when the object is closed.");
  set->Open();
  EXPECT_EQ(set->RecordCount(), 0);
  EXPECT_EQ(ErrorNumberOf([&] { set->Open(); }), 3705);
  EXPECT_EQ(ErrorNumberOf([&] { set->Fields().Append("More", DataType::kDouble); }),
            vb::err::kAdoOperationNotAllowed);
}

TEST(RecordSetTest, FieldsAreFoundByNameWithoutCaseOrByOrdinal) {
  auto set = OrderLines(1);
  EXPECT_EQ(set->Item("unit price").Name(), "Unit Price");
  EXPECT_EQ(set->Item(2).Name(), "Qty");
  EXPECT_EQ(set->Fields().Item(vb::Variant("QTY")).Type(), DataType::kDouble);
  EXPECT_EQ(set->Fields().Item(vb::Variant(3)).Name(), "Unit Price");
  EXPECT_EQ(set->Fields().IndexOf("Lead Time"), -1);

  ExpectEachRaises(
      {
          {"missing name", [&] { set->Item("Lead Time"); }},
          {"ordinal past end", [&] { set->Item(4); }},
          {"negative ordinal", [&] { set->Item(-1); }},
          {"Variant ordinal", [&] { set->Fields().Item(vb::Variant(7)); }},
          {"Boolean key", [&] { set->Fields().Item(vb::Variant(true)); }},
      },
      vb::err::kAdoItemNotFound,
      "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

// Which texts and numbers convert, and how they round, is the value
// layer's; here each field type reaches its conversion, and without
// `stored` the field refuses the value and keeps the old one.
TEST(RecordSetTest, WrittenValuesAreConvertedToTheFieldTypeOrRefused) {
  struct Case {
    DataType type;
    vb::Variant written;
    std::optional<vb::Variant> stored;
  };
  const Case cases[] = {
      {DataType::kCurrency, vb::Variant("1,234.50"), vb::Variant(vb::Currency::FromRaw(12345000))},
      {DataType::kDouble, vb::Variant(" -3.5 "), vb::Variant(-3.5)},
      {DataType::kInteger, vb::Variant(2.5), vb::Variant(2)},  // half to even
      {DataType::kSmallInt, vb::Variant("7"), vb::Variant::Integer(7)},
      {DataType::kVarWChar, vb::Variant(12.5), vb::Variant("12.5")},
      {DataType::kBoolean, vb::Variant("True"), vb::Variant(true)},
      {DataType::kDate, vb::Variant("2026-11-05"), vb::Variant(vb::Date::FromYmd(2026, 11, 5))},
      {DataType::kVariant, vb::Variant("1,234.50"), vb::Variant("1,234.50")},
      {DataType::kCurrency, vb::Variant::Null(), vb::Variant::Null()},
      {DataType::kInteger, vb::Variant(), vb::Variant::Null()},
      {DataType::kCurrency, vb::Variant("abc"), std::nullopt},
      {DataType::kInteger, vb::Variant(3e10), std::nullopt},  // beyond 32 bits
      {DataType::kSmallInt, vb::Variant(40000), std::nullopt},
      {DataType::kDate, vb::Variant("not a date"), std::nullopt},
      {DataType::kVarWChar, vb::Variant(std::make_shared<RecordSet>()), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DataTypeName(c.type) + " <- " + c.written.TypeName());
    RecordSet set;
    set.Fields().Append("Amount", c.type);
    set.Open();
    set.AddNew();
    const vb::Error error = ErrorOf([&] { set.Item("Amount").Value(c.written); });
    if (c.stored) {
      EXPECT_EQ(error.number(), 0);
      EXPECT_EQ(set.Item("Amount").Value(), *c.stored);
      continue;
    }
    EXPECT_EQ(error.number(), vb::err::kAdoDataConversion);
    EXPECT_EQ(error.description(),
              "Application uses a value of the wrong type for the current operation.");
    EXPECT_NE(error.context().find("Amount"), std::string::npos);
    EXPECT_TRUE(set.Item("Amount").IsNull());
  }
}

TEST(RecordSetTest, DeletedRowStaysCurrentWithoutValuesUntilAMove) {
  auto set = OrderLines(3);
  set->MoveLast();
  const vb::Variant third_mark = set->Bookmark();
  set->MovePrevious();
  set->Item("Product").Value(vb::Variant("pending"));
  set->Delete();
  EXPECT_EQ(set->RecordCount(), 2);
  EXPECT_FALSE(set->IsEOF());
  EXPECT_EQ(ErrorNumberOf([&] { set->Item("Product").Value(); }), vb::err::kAdoNoCurrentRecord);
  EXPECT_EQ(ErrorNumberOf([&] { set->Delete(); }), vb::err::kAdoNoCurrentRecord);
  set->MoveNext();
  EXPECT_EQ(set->Item("Product").Value(), vb::Variant("Item 3"));
  EXPECT_EQ(set->Bookmark(), third_mark);
  set->MovePrevious();
  EXPECT_EQ(set->Item("Product").Value(), vb::Variant("Item 1"));

  set->MoveLast();
  set->Delete();
  set->MoveNext();
  EXPECT_TRUE(set->IsEOF());
  set->MoveFirst();
  set->Delete();
  set->MovePrevious();
  EXPECT_TRUE(set->IsBOF());
  EXPECT_TRUE(set->IsEOF());
  EXPECT_EQ(set->RecordCount(), 0);
}

TEST(RecordSetTest, AppendedValuesReadBackExactlyAsHandedIn) {
  // AppendRow does not convert: a value of another subtype than the
  // field's must still come back unchanged, and so must the rows around it.
  // (Ordinary values of each type come back through a query's result,
  // which is appended the same way: ConnectionTest.)
  struct Case {
    DataType type;
    vb::Variant first;
    vb::Variant second;
  };
  const vb::Variant null = vb::Variant::Null();
  const Case cases[] = {
      {DataType::kSmallInt, vb::Variant::Integer(-7), null},
      {DataType::kInteger, vb::Variant(INT32_MIN), vb::Variant(0)},
      {DataType::kCurrency, vb::Variant(vb::Currency::Min()), vb::Variant(vb::Currency::Max())},
      {DataType::kSingle, vb::Variant(1.5f), vb::Variant(-0.1f)},
      {DataType::kDouble, vb::Variant(-0.0), vb::Variant(1e300)},
      {DataType::kVarWChar, vb::Variant(""), null},
      // Subtypes the field does not hold natively.
      {DataType::kDouble, vb::Variant(2.5), vb::Variant(3)},
      {DataType::kCurrency, vb::Variant(vb::Currency::FromInt(1)), vb::Variant(1.25)},
      {DataType::kCurrency, null, vb::Variant()},
      {DataType::kVarWChar, vb::Variant("a"), vb::Variant(true)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DataTypeName(c.type) + " <- " + c.first.TypeName() + ", " + c.second.TypeName());
    RecordSet set;
    set.Fields().Append("ID", DataType::kInteger);
    set.Fields().Append("F", c.type);
    set.Open();
    set.AppendRow({vb::Variant(1), c.first});
    set.AppendRow({vb::Variant(2), c.second});
    set.AppendRow({vb::Variant(3), c.first});
    const vb::Variant expected[] = {c.first, c.second, c.first};
    set.MoveFirst();
    for (const vb::Variant& value : expected) {
      EXPECT_EQ(set.Item("F").Value(), value);
      EXPECT_EQ(set.Item("F").IsNull(), value.IsNull());
      set.MoveNext();
    }
  }
}

// Fills a view and returns its values and Nulls as plain vectors.
struct CurrencyColumn {
  bool offered = false;
  std::vector<int64_t> raw;
  std::vector<uint8_t> nulls;
  uint64_t bound = 0;
};
CurrencyColumn CurrencyColumnOf(const RecordSet& set, int field) {
  RecordSet::CurrencyColumnView view;
  CurrencyColumn column;
  column.offered = set.TryCurrencyColumn(field, view);
  column.raw.assign(view.raw.begin(), view.raw.end());
  column.nulls.assign(view.nulls.begin(), view.nulls.end());
  column.bound = view.magnitude_bound;
  return column;
}

TEST(RecordSetTest, ColumnViewsHoldCommittedValuesWithZeroForNull) {
  RecordSet set;
  set.Fields().Append("Amount", DataType::kCurrency);
  set.Fields().Append("Qty", DataType::kDouble);
  set.Open();
  set.AppendRow({vb::Variant(vb::Currency::FromRaw(15000)), vb::Variant(2.0)});
  set.AppendRow({vb::Variant::Null(), vb::Variant::Null()});
  set.AppendRow({vb::Variant(vb::Currency::FromRaw(-30000)), vb::Variant(0.25)});

  CurrencyColumn amounts = CurrencyColumnOf(set, 0);
  ASSERT_TRUE(amounts.offered);
  EXPECT_EQ(amounts.raw, (std::vector<int64_t>{15000, 0, -30000}));
  EXPECT_EQ(amounts.nulls, (std::vector<uint8_t>{0, 1, 0}));
  EXPECT_GE(amounts.bound, 30000u);
  // The Double view (quantities) is read by the header totals, checked
  // there against a row walk.

  // A written value reaches the view once committed; one cancelled leaves
  // the Null (and its 0) in place.
  set.MoveFirst();
  set.MoveNext();
  set.Item("Amount").Value(vb::Variant("-1,000.5"));
  EXPECT_FALSE(CurrencyColumnOf(set, 0).offered);  // pending
  set.CancelUpdate();
  EXPECT_EQ(CurrencyColumnOf(set, 0).raw, (std::vector<int64_t>{15000, 0, -30000}));
  EXPECT_TRUE(set.Item("Amount").IsNull());
  set.Item("Amount").Value(vb::Variant("-1,000.5"));
  set.Update();
  amounts = CurrencyColumnOf(set, 0);
  EXPECT_EQ(amounts.raw, (std::vector<int64_t>{15000, -10005000, -30000}));
  EXPECT_EQ(amounts.nulls, (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_GE(amounts.bound, 10005000u);

  // Writing Null back stores 0 again.
  set.Item("Amount").Value(vb::Variant::Null());
  set.Update();
  EXPECT_EQ(CurrencyColumnOf(set, 0).raw, (std::vector<int64_t>{15000, 0, -30000}));
}

TEST(RecordSetTest, ColumnViewsAreRefusedWhereAScanWouldMislead) {
  struct Case {
    const char* name;
    std::function<void(RecordSet&)> prepare;
    int field;
  };
  const Case cases[] = {
      {"none: the starting state offers the column", nullptr, 0},
      {"Double field", [](RecordSet&) {}, 1},
      {"Variant field holding Currency", [](RecordSet&) {}, 2},
      {"pending field write", [](RecordSet& set) { set.Item("Qty").Value(vb::Variant(2)); }, 0},
      {"pending new row", [](RecordSet& set) { set.AddNew(); }, 0},
      {"closed set", [](RecordSet& set) { set.Close(); }, 0},
      {"Currency column given a Double row",
       [](RecordSet& set) {
         set.AppendRow({vb::Variant(1.5), vb::Variant(1.0), vb::Variant()});
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordSet set;
    set.Fields().Append("Amount", DataType::kCurrency);
    set.Fields().Append("Qty", DataType::kDouble);
    set.Fields().Append("Any", DataType::kVariant);
    set.Open();
    set.AppendRow({vb::Variant(vb::Currency::FromInt(1)), vb::Variant(1.0),
                   vb::Variant(vb::Currency::FromInt(1))});
    set.MoveFirst();
    if (c.prepare) c.prepare(set);
    EXPECT_EQ(CurrencyColumnOf(set, c.field).offered, c.prepare == nullptr);
  }
}

}  // namespace
}  // namespace kvt::data
