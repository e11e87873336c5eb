// The steps of the purchasing story and what they share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "apps/kvt-host/story/story.h"
#include "apps/kvt-host/story/story_log.h"
#include "platform/data/connection.h"
#include "platform/value/date.h"

namespace kvt::host {

struct Story {
  Story(const StoryOptions& story_options, StoryLog& story_log, StoryOutcome& story_outcome)
      : options(story_options), log(story_log), outcome(story_outcome) {}

  const StoryOptions& options;
  StoryLog& log;
  StoryOutcome& outcome;
  int32_t supplier_id = 0;
  std::string supplier_name;
  std::vector<int32_t> product_ids;  // the order's products, in line order
  // Every document is dated the first day of the current accounting period.
  vb::Date date;
  std::string period_name;  // "November 2026"
  data::ConnectionRef db;   // for reading what was saved and posted

  const HostContext& Context() const { return options.context; }
  // `stem` (with the options' document extension) in the output folder.
  std::string DocumentPath(const std::string& stem) const;
  // Runs `print` with the PDF output for `stem` installed; prints and keeps
  // the path when the file was written (a failure otherwise).
  bool PrintToPdf(const std::string& what, const std::string& stem,
                  const std::function<void()>& print);
  // Stock on hand, consignment stock and the supplier's consignment lines,
  // with the checks that they add up.
  void ShowStock();
};

// Steps 1 to 3: the order built, saved with its delivery details, printed.
bool OrderSteps(Story& story);
// Steps 4 to 8: the vouchers, the sale, the stock after each.
bool VoucherSteps(Story& story);

}  // namespace kvt::host
