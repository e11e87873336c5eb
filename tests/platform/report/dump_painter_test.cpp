#include "platform/report/dump_painter.h"

#include <gtest/gtest.h>

namespace kvt::report {
namespace {

TEST(DumpPainterTest, WritesOneLinePerItemWithTextQuoted) {
  Document doc;
  doc.title = "Order";
  Page& page = doc.pages.emplace_back();
  page.number = 1;
  page.items.emplace_back(TextItem{"fldA",
                                   {1, 2, 3, 4},
                                   "say \"hi\"\nthere",
                                   Font{"Arial", 14.5, true, false},
                                   Alignment::Right});
  page.items.emplace_back(LineItem{"ln", {0, 5, 10, 5}, 15});
  page.items.emplace_back(BoxItem{"shp", {7, 8, 9, 10}, 20});
  EXPECT_EQ(DumpDocument(doc),
            "document \"Order\" 11906x16838\n"
            "page 1\n"
            "text fldA 1,2,3,4 \"Arial\" 14.5 bold right \"say \\\"hi\\\"\\nthere\"\n"
            "line ln 0,5 10,5 w15\n"
            "box shp 7,8,9,10 w20\n"
            "end\n");
}

}  // namespace
}  // namespace kvt::report
