#include "platform/report/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/data/record_set.h"
#include "platform/report/data_source.h"
#include "platform/report/line_break.h"

namespace kvt::report {
namespace {

// A small layout on a page whose body holds exactly `kRowsPerPage` detail
// bands: header 1000, detail 300, footer 500 on a 4000-high paper with
// margins of 100 (body 3800 - 1000 - 500 = 2300, 7 bands of 300 fit).
constexpr int kRowsPerPage = 7;

class SmallLayout : public Report {
 public:
  SmallLayout() : Report("rptSmall") {
    SetTitle("Small");
    Page() = PageSetup{6000, 4000, 100, 100, 100, 100};
    Section& header = AddSection(SectionKind::PageHeader, "PageHeader", 1000);
    header.AddLabel("lblTitle", {0, 0, 2000, 300}, "Title");
    header.AddField("fldHeaderName", {0, 400, 2000, 250}).SetDataField("Name");
    header.AddField("fldPageNo", {3000, 400, 500, 250}).SetSummary(SummaryType::PageCount);
    header.AddBox("shpFrame", {0, 0, 5000, 900});
    Section& detail = AddSection(SectionKind::Detail, "Detail", 300);
    detail.AddField("fldCode", {0, 20, 1000, 250}).SetDataField("Code");
    detail.AddField("fldAmount", {1000, 20, 1500, 250})
        .SetDataField("Amount")
        .SetOutputFormat("#,##0.00")
        .SetAlignment(Alignment::Right);
    AddDataControl("dcRows");
    Section& footer = AddSection(SectionKind::PageFooter, "PageFooter", 500);
    footer.AddLine("lnTop", {0, 0, 5000, 0});
    footer.AddField("fldTotal", {1000, 100, 1500, 250})
        .SetDataField("Amount")
        .SetSummary(SummaryType::Sum)
        .SetOutputFormat("#,##0.00");
    footer.AddField("fldFooterName", {3000, 100, 1500, 250}).SetDataField("Name");
  }
};

std::shared_ptr<MemoryTable> Rows(int count) {
  auto table = std::make_shared<MemoryTable>(std::vector<std::string>{"Code", "Amount", "Name"});
  for (int i = 1; i <= count; ++i) {
    table->AddRow({vb::Variant("P" + std::to_string(i)), vb::Variant(i * 1000.25),
                   vb::Variant("N" + std::to_string(i))});
  }
  return table;
}

Document RunWith(Report& report, std::shared_ptr<DataSource> rows) {
  report.GetDataControl("dcRows").SetRecordset(std::move(rows));
  return report.Run();
}

// The first drawn item of kind T on `page`.
template <typename T>
const T& FirstOf(const Page& page) {
  return std::get<T>(*std::find_if(page.items.begin(), page.items.end(), [](const auto& item) {
    return std::holds_alternative<T>(item);
  }));
}

std::string TextOf(const Page& page, const std::string& control) {
  const TextItem* item = page.FindText(control);
  return item == nullptr ? "<none>" : item->text;
}

TEST(ReportTest, PaginatesDetailBandsAndRepeatsHeaderAndFooter) {
  struct Case {
    int rows;
    size_t pages;
  };
  // clang-format off
  const Case cases[] = {{0, 1}, {1, 1}, {kRowsPerPage, 1}, {kRowsPerPage + 1, 2},
                        {3 * kRowsPerPage, 3}, {3 * kRowsPerPage + 1, 4}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE("rows " + std::to_string(c.rows));
    SmallLayout layout;
    Document doc = RunWith(layout, Rows(c.rows));
    ASSERT_EQ(doc.pages.size(), c.pages);
    size_t printed = 0;
    for (const Page& page : doc.pages) {
      EXPECT_EQ(TextOf(page, "lblTitle"), "Title");
      EXPECT_EQ(TextOf(page, "fldPageNo"), std::to_string(page.number));
      EXPECT_TRUE(page.Has("lnTop"));
      const auto codes = page.FindTexts("fldCode");
      EXPECT_LE(codes.size(), static_cast<size_t>(kRowsPerPage));
      const std::string first_name = "N" + std::to_string(printed + 1);
      for (const TextItem* code : codes) {
        EXPECT_EQ(code->text, "P" + std::to_string(++printed));
      }
      // The header shows the first row of its page, the footer the last.
      if (codes.empty()) continue;
      EXPECT_EQ(TextOf(page, "fldHeaderName"), first_name);
      EXPECT_EQ(TextOf(page, "fldFooterName"), "N" + std::to_string(printed));
    }
    EXPECT_EQ(printed, static_cast<size_t>(c.rows));
    EXPECT_EQ(layout.pageNumber(), static_cast<int>(c.pages));
  }
}

TEST(ReportTest, PlacesBandsInPageCoordinates) {
  SmallLayout layout;
  Document doc = RunWith(layout, Rows(kRowsPerPage + 1));
  const Page& first = doc.pages[0];
  // Header at the top margin, details stacked under it (as the documents'
  // tests see them too), footer at the bottom of the printable area.
  EXPECT_EQ(first.FindText("lblTitle")->rect, (Rect{100, 100, 2000, 300}));
  const auto amounts = first.FindTexts("fldAmount");
  ASSERT_EQ(amounts.size(), static_cast<size_t>(kRowsPerPage));
  EXPECT_EQ(amounts[6]->rect, (Rect{1100, 1120 + 6 * 300, 1500, 250}));
  EXPECT_EQ(amounts[0]->alignment, Alignment::Right);
  EXPECT_EQ(first.FindText("fldTotal")->rect, (Rect{1100, 3500, 1500, 250}));
  EXPECT_EQ(FirstOf<LineItem>(first).segment, (Segment{100, 3400, 5100, 3400}));
  EXPECT_EQ(doc.pages[1].FindTexts("fldAmount")[0]->rect.top, 1120);
}

TEST(ReportTest, SumsRunOverThePrintedRowsAndGrandSumsOverAllOfThem) {
  SmallLayout layout;
  layout.GetSection("PageFooter")
      .AddField("fldGrand", {2500, 100, 700, 250})
      .SetDataField("Amount")
      .SetSummary(SummaryType::GrandSum)
      .SetOutputFormat("#,##0.00");
  Document doc = RunWith(layout, Rows(2 * kRowsPerPage + 3));
  // Amounts are i * 1000.25: running sums of the first 7, 14 and 17 rows.
  const char* running[] = {"28,007.00", "105,026.25", "153,038.25"};
  for (size_t page = 0; page < 3; ++page) {
    EXPECT_EQ(TextOf(doc.pages[page], "fldTotal"), running[page]);
    EXPECT_EQ(TextOf(doc.pages[page], "fldGrand"), "153,038.25");
  }
}

TEST(ReportTest, SumsAreExactAndSkipValuesThatAreNoNumber) {
  auto table = std::make_shared<MemoryTable>(std::vector<std::string>{"Amount"});
  // Ten times 0.1 as a double drifts; Currency sums do not.
  for (int i = 0; i < 10; ++i) table->AddRow({vb::Variant(0.1)});
  table->AddRow({vb::Variant::Null()});
  table->AddRow({vb::Variant("n/a")});
  table->AddRow({vb::Variant("1,000.005")});
  table->AddRow({vb::Variant(vb::Currency::FromRaw(-1))});
  SmallLayout layout;
  layout.Control("fldTotal").SetOutputFormat("0.0000");
  Document doc = RunWith(layout, table);
  EXPECT_EQ(TextOf(doc.pages.back(), "fldTotal"), "1001.0049");
}

TEST(ReportTest, WithoutRowsPrintsOnePageWithEmptyFieldsAndZeroSums) {
  for (bool with_source : {false, true}) {
    SCOPED_TRACE(with_source ? "empty source" : "no source");
    SmallLayout layout;
    Document doc = with_source ? RunWith(layout, Rows(0)) : layout.Run();
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(TextOf(doc.pages[0], "fldHeaderName"), "");
    EXPECT_TRUE(doc.pages[0].FindTexts("fldCode").empty());
    // A sum over a column the source has is 0; with no source at all the
    // column is unknown and the field stays empty.
    EXPECT_EQ(TextOf(doc.pages[0], "fldTotal"), with_source ? "0.00" : "");
  }
}

TEST(ReportTest, FieldsBindIgnoringCaseOrShowTheirTextAndHiddenControlsDoNotPrint) {
  SmallLayout layout;
  layout.Control("fldCode").SetDataField("CODE");
  layout.Control("fldFooterName").SetDataField("No Such Column");
  layout.Control("fldTotal").SetDataField("Missing");
  layout.Control("fldHeaderName").SetDataField("").SetText("1234.5");
  layout.Control("fldheadername").SetOutputFormat("#,##0.00");
  layout.Control("shpFrame").SetVisible(false);
  layout.Control("fldPageNo").SetVisible(false);
  Document doc = RunWith(layout, Rows(2));
  EXPECT_EQ(doc.pages[0].FindTexts("fldCode")[1]->text, "P2");
  EXPECT_EQ(TextOf(doc.pages[0], "fldFooterName"), "");
  EXPECT_EQ(TextOf(doc.pages[0], "fldTotal"), "");
  EXPECT_EQ(TextOf(doc.pages[0], "fldHeaderName"), "1,234.50");
  for (const char* hidden : {"shpFrame", "fldPageNo"}) EXPECT_FALSE(doc.pages[0].Has(hidden));
}

TEST(ReportTest, ReportHeaderOpensTheFirstPageAndReportFooterFollowsTheLastRow) {
  SmallLayout layout;
  layout.AddSection(SectionKind::ReportHeader, "ReportHeader", 300)
      .AddLabel("lblCover", {0, 0, 1000, 250}, "Cover");
  layout.AddSection(SectionKind::ReportFooter, "ReportFooter", 600)
      .AddField("fldGrand", {0, 0, 1500, 250})
      .SetDataField("Amount")
      .SetSummary(SummaryType::Sum)
      .SetOutputFormat("#,##0.00");
  // With the report header one band less fits on page 1: 6 + 7 rows fill
  // two pages, and the report footer then needs a third.
  Document doc = RunWith(layout, Rows(13));
  ASSERT_EQ(doc.pages.size(), 3u);
  EXPECT_EQ(doc.pages[0].FindText("lblCover")->rect.top, 100);
  EXPECT_EQ(doc.pages[0].FindText("lblTitle")->rect.top, 400);
  EXPECT_EQ(doc.pages[0].FindTexts("fldCode").size(), 6u);
  EXPECT_FALSE(doc.pages[1].Has("lblCover"));
  EXPECT_EQ(TextOf(doc.pages[2], "fldGrand"), "91,022.75");
  EXPECT_TRUE(doc.pages[2].FindTexts("fldCode").empty());
}

TEST(ReportTest, BandTallerThanThePagePrintsAloneInsteadOfLooping) {
  SmallLayout layout;
  layout.GetSection("Detail").SetHeight(5000);
  Document doc = RunWith(layout, Rows(3));
  ASSERT_EQ(doc.pages.size(), 3u);
  for (const Page& page : doc.pages) EXPECT_EQ(page.FindTexts("fldCode").size(), 1u);
}

// A text that needs more lines than its box holds: its band grows, what
// lies below moves down by as much, what lies beside or above stays, boxes
// round it stretch, and pages fill by the grown heights. The footer stands
// at the foot of the page and cuts its words instead.
TEST(ReportTest, TextNeedingMoreLinesGrowsItsBandAndPushesDownWhatLiesBelow) {
  SmallLayout layout;
  auto rows = std::make_shared<MemoryTable>(std::vector<std::string>{"Code", "Amount", "Name"});
  const std::string word(60, 'W');
  rows->AddRow({vb::Variant(word), vb::Variant(1.0), vb::Variant(word)});
  for (int i = 0; i < 10; ++i)
    rows->AddRow({vb::Variant("P"), vb::Variant(2.0), vb::Variant(word)});
  const Document doc = RunWith(layout, rows);
  const Page& first = doc.pages[0];

  const TextItem& name = *first.FindText("fldHeaderName");
  EXPECT_GT(std::count(name.text.begin(), name.text.end(), '\n'), 0);
  const int32_t grown = name.rect.height - 250;
  EXPECT_GT(grown, 0);
  EXPECT_EQ(name.rect.top, 500);
  EXPECT_EQ(first.FindText("lblTitle")->rect.top, 100);
  EXPECT_EQ(first.FindText("fldPageNo")->rect.top, 500);
  EXPECT_EQ(FirstOf<BoxItem>(first).rect, (Rect{100, 100, 5000, 900 + grown}));

  const auto codes = first.FindTexts("fldCode");
  const int32_t header_bottom = 100 + 1000 + grown;
  EXPECT_EQ(codes[0]->rect.top, header_bottom + 20);
  const int32_t first_band = 300 + codes[0]->rect.height - 250;
  EXPECT_GT(first_band, 300);
  // The amount beside the grown code keeps its line.
  EXPECT_EQ(first.FindTexts("fldAmount")[0]->rect.top, header_bottom + 20);
  EXPECT_EQ(codes[1]->rect.top, header_bottom + first_band + 20);
  const int32_t body_bottom = 3900 - 500;
  EXPECT_EQ(codes.size(),
            1 + static_cast<size_t>((body_bottom - header_bottom - first_band) / 300));

  const std::string footer = first.FindText("fldFooterName")->text;
  EXPECT_EQ(footer.find('\n'), std::string::npos);
  EXPECT_TRUE(footer.ends_with(kEllipsis)) << footer;
}

// Record sets reach the report from the database in the documents' tests;
// here, the cases those do not meet.
TEST(ReportTest, ReadsARecordSetThroughItsDataControl) {
  auto record_set = std::make_shared<data::RecordSet>();
  record_set->Fields().Append("Code", data::DataType::kVarWChar);
  record_set->Open();
  record_set->AppendRow({vb::Variant("C1")});
  SmallLayout layout;
  layout.GetDataControl("dcRows").SetRecordset(record_set);
  EXPECT_EQ(TextOf(layout.Run().pages[0], "fldCode"), "C1");
  EXPECT_FALSE(record_set->IsEOF());  // the set's position is left alone

  // A closed record set gives no rows rather than failing the document.
  auto closed = std::make_shared<data::RecordSet>();
  closed->Fields().Append("Code", data::DataType::kVarWChar);
  layout.GetDataControl("dcRows").SetRecordset(closed);
  EXPECT_EQ(layout.Run().pages.size(), 1u);
}

}  // namespace
}  // namespace kvt::report
