#include "apps/kvt-host/story/story.h"

#include <filesystem>

#include "apps/kvt-host/access/audit.h"
#include "apps/kvt-host/story/story_cast.h"
#include "apps/kvt-host/story/story_steps.h"
#include "apps/kvt-host/sessions/stock_figures.h"
#include "platform/report/output.h"
#include "platform/value/conversions.h"
#include "services/data_gateway.h"

namespace kvt::host {

namespace {

// The demo's supplier whose order the story follows.
constexpr int32_t kSupplierId = 1;

// The current accounting period: the story's documents are dated on its
// first day, so the transcript follows the data, not the calendar.
void ReadPeriod(Story& story) {
  services::DataGateway gateway;
  data::ConnectionRef connection = gateway.OpenConnection(story.Context().connection_text, -1, 3);
  vb::Variant company(story.Context().company_id), month, name, status, year_key, year, id;
  std::vector<services::ProcedureParameter> parameters = {
      services::ProcedureParameter::In(company),   services::ProcedureParameter::Out(month),
      services::ProcedureParameter::Out(name),     services::ProcedureParameter::Out(status),
      services::ProcedureParameter::Out(year_key), services::ProcedureParameter::Out(year),
      services::ProcedureParameter::Out(id)};
  int32_t run_status = 0;
  gateway.RunProcedure("sp_AB_Current_Accounting_Period", connection, 1, parameters, run_status);
  story.date = vb::Date::FromYmd(vb::CLng(year), vb::CLng(month), 1);
  story.period_name = Shown(name);
}

}  // namespace

std::string Story::DocumentPath(const std::string& stem) const {
  return (std::filesystem::path(options.out_dir) / (stem + options.document_extension)).string();
}

bool Story::PrintToPdf(const std::string& what, const std::string& stem,
                       const std::function<void()>& print) {
  const std::string path = DocumentPath(stem);
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  {
    report::ScopedOutput installed(options.pdf_output(path));
    log.AsUser(nullptr, [&] {
      print();
      return 0;
    });
  }
  const bool written = std::filesystem::exists(path);
  if (written) {
    outcome.documents.push_back(path);
    log.Line("Printed " + what + " to " + path);
    return log.Check(true, "the document was written");
  }
  // Why, as the clerk was told (a full disk names itself there).
  const std::vector<std::string>& told = log.LastPrompts();
  return log.Check(false, "the document was written (" +
                              (told.empty() ? "no file appeared at " + path : told.back()) + ")");
}

void Story::ShowStock() {
  log.Line("Stock of the order's products:");
  std::vector<std::vector<std::string>> rows;
  for (const ProductStock& stock : ReadProductStock(Context().connection_text, product_ids)) {
    rows.push_back({stock.code, stock.description, Qty(stock.on_hand), Qty(stock.consignment)});
  }
  log.Table({"Code", "Product", ">On hand", ">Consignment"}, rows);
  log.Line("Consignment lines of " + supplier_name + ":");
  rows.clear();
  bool add_up = true;
  for (const ConsignmentLine& line :
       ReadConsignmentLines(Context().connection_text, Context().company_id, supplier_id)) {
    add_up = add_up && line.AddsUp();
    rows.push_back({line.voucher_number, line.code, Qty(line.received), Qty(line.sold),
                    Qty(line.returned), line.left ? Qty(*line.left) : std::string()});
  }
  if (rows.empty()) {
    log.Line("none yet", 2);
  } else {
    log.Table({"Voucher", "Code", ">Received", ">Sold", ">Returned", ">Left"}, rows);
  }
  log.Check(add_up, "received = sold + returned + left on every consignment line");
  const std::vector<std::string> breaches = StockBreaches(Context().connection_text);
  for (const std::string& breach : breaches) log.Line("breach: " + breach, 4);
  log.Check(breaches.empty(),
            "stock equals the sum of its movements, every order, received and consignment "
            "line adds up, and every drawn line carries its source line's discount rates");
}

namespace {

// Who did what, as the audit trail recorded it for the story's order and
// vouchers.
void ShowAudit(Story& story) {
  story.log.Line("The audit trail of the story's documents:");
  std::vector<std::string> documents = {"order " + story.outcome.order_number};
  for (const posting::PostedVoucher& voucher : story.outcome.vouchers) {
    documents.push_back("voucher " + voucher.voucher_number);
  }
  std::vector<std::vector<std::string>> rows;
  for (const std::string& document : documents) {
    access::AuditFilter filter;
    filter.document = document;
    const std::vector<access::AuditRow> found = access::ReadAudit(*story.db, filter);
    for (auto row = found.rbegin(); row != found.rend(); ++row) {
      rows.push_back({row->user, row->action, row->document});
    }
  }
  story.log.Table({"Who", "Did", "Document"}, rows);
  story.log.Check(rows.size() >= documents.size(), "every document of the story was audited");
}

}  // namespace

StoryOutcome TellPurchasingStory(const StoryOptions& options, std::ostream& out) {
  StoryOutcome outcome;
  StoryLog log(out);
  // The buyer's login orders and the clerk's receives: the story's steps
  // read their connection text from the acting options.
  const StoryCast cast = CastStory(options.context.connection_text);
  StoryOptions acting = options;
  acting.context.connection_text = cast.buyer.connection_text;
  Story story(acting, log, outcome);
  story.db = services::DataGateway().OpenConnection(options.context.connection_text, -1, 3);
  ReadPeriod(story);
  story.supplier_id = kSupplierId;
  auto supplier =
      story.db->Query("SELECT Name FROM Suppliers WHERE ID = ?1", {vb::Variant(kSupplierId)});
  story.supplier_name = supplier->IsEOF() ? std::string() : Shown(supplier->Item(0).Value());
  std::error_code ignored;
  std::filesystem::create_directories(options.out_dir, ignored);
  out << "The story of one purchase order for " << story.supplier_name
      << ", every document dated in the current accounting period, " << story.period_name << ".\n";
  out << "The buyer " << cast.buyer.user << " orders; the clerk " << cast.clerk.user
      << " receives, returns and sells.\n";
  bool told = OrderSteps(story);
  acting.context.connection_text = cast.clerk.connection_text;
  told = told && VoucherSteps(story);
  if (!told) log.Check(false, "the story ran to its end");
  log.Heading("Who did what");
  ShowAudit(story);
  outcome.failures = log.Failures();
  return outcome;
}

}  // namespace kvt::host
