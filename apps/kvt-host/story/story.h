// The main job's story: one purchase order for one supplier, followed from
// the order item dialog to the last consignment return.
//
//  1. the order is built line by line through the order item dialog;
//  2. it is saved with the delivery details the buyer confirms;
//  3. it is printed;
//  4. it is received one line short, a period before the current one tried
//     first and refused, then saved in the current period with the
//     supplier's invoice and posted;
//  5. some of it is returned (more than was received is refused first);
//  6. the short line's remainder arrives on consignment;
//  7. some of the consignment stock is sold (selling more than is left is
//     refused);
//  8. the rest is returned (the dialog refuses more than is left first);
//  9. who did what, as the audit trail recorded it.
//
// A buyer does steps 1 to 3 and a clerk the rest: on a server whose owner
// tells the story, logins of their own (story_cast.h).
//
// Every voucher is printed to a PDF. After each stock step the transcript
// shows stock on hand, consignment stock and each consignment line's
// received/sold/returned/left, and checks that they add up.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "apps/kvt-host/posting/voucher.h"
#include "apps/kvt-host/sessions/voucher_session.h"
#include "platform/report/output.h"

namespace kvt::host {

// The report output that writes a previewed document to the PDF at `path`.
using PdfOutputFactory = std::function<std::shared_ptr<report::Output>(const std::string& path)>;

struct StoryOptions {
  HostContext context;
  std::string out_dir;  // where the printed documents go
  PdfOutputFactory pdf_output;
  std::string document_extension = ".pdf";  // of the files pdf_output writes
};

struct StoryOutcome {
  int failures = 0;  // checks that failed; 0 when the story held throughout
  int32_t order_id = 0;
  std::string order_number;
  // As posted: goods received, goods returned, consignment received,
  // consignment returned.
  std::vector<posting::PostedVoucher> vouchers;
  std::vector<std::string> documents;  // the PDFs written
};

// Tells the story on the database of `options.context` (a demo database:
// the supplier, products and periods of the demo data) and writes the
// transcript to `out`. A step whose precondition failed ends the story
// there (said in the transcript, counted as a failure). Raises only what
// opening the database raises.
StoryOutcome TellPurchasingStory(const StoryOptions& options, std::ostream& out);

}  // namespace kvt::host
