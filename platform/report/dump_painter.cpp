#include "platform/report/dump_painter.h"

#include "platform/value/number_text.h"

namespace kvt::report {
namespace {

// Quotes text so that one item stays on one line whatever it holds.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  out += '"';
  return out;
}

std::string Numbers(std::initializer_list<int32_t> values) {
  std::string out;
  for (int32_t value : values) {
    if (!out.empty()) out += ',';
    out += std::to_string(value);
  }
  return out;
}

}  // namespace

void DumpPainter::BeginDocument(const Document& document) {
  text_ += "document " + Quoted(document.title) + " " +
           std::to_string(document.page_setup.paper_width) + "x" +
           std::to_string(document.page_setup.paper_height) + "\n";
}

void DumpPainter::BeginPage(const Page& page) {
  text_ += "page " + std::to_string(page.number) + "\n";
}

void DumpPainter::DrawText(const TextItem& item) {
  const std::string size = vb::PlainText(item.font.size);
  const Rect& r = item.rect;
  text_ += "text " + item.control + " " + Numbers({r.left, r.top, r.width, r.height}) + " " +
           Quoted(item.font.name) + " " + size + (item.font.bold ? " bold" : "") +
           (item.font.italic ? " italic" : "") + " " + AlignmentName(item.alignment) + " " +
           Quoted(item.text) + "\n";
}

void DumpPainter::DrawLine(const LineItem& item) {
  const Segment& s = item.segment;
  text_ += "line " + item.control + " " + Numbers({s.x1, s.y1}) + " " + Numbers({s.x2, s.y2}) +
           " w" + std::to_string(item.weight) + "\n";
}

void DumpPainter::DrawBox(const BoxItem& item) {
  const Rect& r = item.rect;
  text_ += "box " + item.control + " " + Numbers({r.left, r.top, r.width, r.height}) + " w" +
           std::to_string(item.weight) + "\n";
}

void DumpPainter::EndDocument() { text_ += "end\n"; }

std::string DumpDocument(const Document& document) {
  DumpPainter painter;
  PaintDocument(document, painter);
  return painter.Text();
}

}  // namespace kvt::report
