// Checks of a laid-out document that hold for any data: every text stands
// inside its box, no two texts share a point of the page, and each text
// shows all of what it was given (ignoring blanks and the line breaks the
// fitting made). Shared by the layout tests and the PDF tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/report/data_source.h"
#include "platform/report/display_list.h"
#include "platform/report/report.h"
#include "platform/report/text_metrics.h"

namespace kvt::documents::testing {

// Where one line of a text item is drawn, in twips, as the painter draws
// it: inset by kTextInset, aligned in its box, one line height per line.
struct LineBox {
  const report::TextItem* item;
  std::string text;
  double left, top, right, bottom;
};

std::vector<LineBox> LineBoxesOf(const report::Page& page, const report::TextMetrics& metrics);

// One message per line that runs past its box and per pair of lines of
// different texts that overlap.
std::vector<std::string> OverlapProblems(const report::Page& page,
                                         const report::TextMetrics& metrics);

// The first few of `problems`, a line each, for a failure message.
std::string FirstProblems(const std::vector<std::string>& problems);

// What a text says: its characters without blanks, line breaks and the
// marks that end a line broken inside a word.
std::string Unbroken(const std::string& text);

// One message per text of `document` that does not show the whole of its
// caption or value: a column's value formatted as its field says (a detail
// field the row of its band, a header field the page's first row, a
// footer field its last row), a sum the sum of its column over `data`, a
// page number the page's.
std::vector<std::string> WholenessProblems(const report::Report& layout,
                                           const report::Document& document,
                                           report::MemoryTable& data);

// Each of the six layouts with the hostile print data of its kind bound
// to it (hostile_sample.h), ready to run.
struct HostileCase {
  std::unique_ptr<report::Report> layout;
  std::shared_ptr<report::MemoryTable> data;
};
std::vector<HostileCase> HostileCases();

}  // namespace kvt::documents::testing
