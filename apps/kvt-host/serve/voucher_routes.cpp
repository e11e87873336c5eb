#include "apps/kvt-host/serve/voucher_routes.h"

#include "apps/kvt-host/posting/server_posting.h"
#include "apps/kvt-host/serve/api_error.h"
#include "apps/kvt-host/serve/catalog_routes.h"
#include "apps/kvt-host/serve/draft_voucher.h"
#include "apps/kvt-host/serve/host_call.h"
#include "apps/kvt-host/serve/json_body.h"
#include "apps/kvt-host/serve/pdf_answer.h"
#include "platform/value/conversions.h"

namespace kvt::serve {

namespace {

using nlohmann::json;

// Runs `change` on the draft taken again, and keeps what it did when it
// went through; answers the draft as it stands then. A change sent again
// under the key it went through with is not made again.
json Changed(Call& call, DraftStore& drafts, Draft& draft,
             const std::function<void(DraftVoucher&)>& change) {
  const std::string key = call.IdempotencyKey();
  std::lock_guard<std::mutex> lock(draft.lock);
  if (draft.posted) {
    Refuse(409, "",
           "This voucher was posted already as " +
               draft.posted->value("voucher_number", std::string()) + ".");
  }
  if (draft.posting_from != 0) {
    Refuse(409, "",
           "A post of this voucher was cut short: post it again under the same key to learn "
           "whether it went through.");
  }
  DraftVoucher voucher(VoucherContext(call), draft);
  if (!key.empty() && draft.applied_keys.count(key) != 0) return voucher.Json(draft);
  if (draft.applied_keys.size() >= kChangesPerDraft) {
    Refuse(429, "", "This voucher has had too many changes: post it or start another.");
  }
  change(voucher);
  if (!key.empty()) draft.applied_keys.insert(key);
  drafts.Save(draft);
  return voucher.Json(draft);
}

size_t RowOf(const Draft& draft, int32_t source_line_id) {
  for (size_t row = 0; row < draft.lines.size(); ++row) {
    if (draft.lines[row].source_line_id == source_line_id) return row;
  }
  Refuse(404, "path", "That line is not on this voucher.");
}

json Create(Call& call, DraftStore& drafts) {
  JsonBody body(call.request.body);
  const std::string kind = body.OptionalText("kind").value_or("goods-received");
  const int32_t supplier = body.Key("supplier_id");
  const int32_t source = body.Key("source_id");
  const std::string note = body.OptionalText("delivery_note", 30).value_or("");
  const std::optional<std::string> reference = body.OptionalText("supplier_ref", 30);
  body.Done();
  const std::optional<posting::TransactionType> type = VoucherKindNamed(kind);
  if (!type) {
    Refuse(400, "kind",
           "kind must be goods-received, goods-returned, consignment-received or "
           "consignment-returned");
  }
  call.Require(access::Action::kPostVoucher, "voucher");
  std::shared_ptr<Draft> draft = drafts.Create(call.User().user, *type, supplier, source);
  try {
    std::lock_guard<std::mutex> lock(draft->lock);
    draft->del_note_number = note;
    DraftVoucher voucher(VoucherContext(call), *draft);
    // The source's reference is proposed; the clerk's typed one replaces it.
    draft->supplier_ref = reference.value_or(voucher.Json(*draft).value("supplier_ref", ""));
    drafts.Save(*draft);
    call.response.status = 201;
    return voucher.Json(*draft);
  } catch (...) {
    drafts.Remove(draft->id, draft->owner);
    throw;
  }
}

// The answer for the voucher posted from `draft`.
json PostedJson(int32_t voucher_id, const std::string& number, const vb::Currency& total) {
  return json{{"voucher_id", voucher_id},
              {"voucher_number", number},
              {"total", total.ToDecimalText()},
              {"pdf", "/api/vouchers/" + std::to_string(voucher_id) + "/pdf"}};
}

// The voucher a post of `draft` begun before a restart made, if it went
// through: the first one from the ID it began at made from the same
// source with the same delivery note.
std::optional<json> PostedBefore(Call& call, const Draft& draft) {
  auto found = call.Db().Query(
      "SELECT g.ID, g.VoucherNumber, SUM(d.TotalCost) FROM GRVs g JOIN GRVDetails d ON "
      "d.GRVID = g.ID WHERE g.ID >= ?1 AND g.CompanyID = ?2 AND g.SupplierID = ?3 AND "
      "g.TranTypeID = ?4 AND (g.PurchaseOrderID = ?5 OR g.SourceGRVID = ?5) AND "
      "COALESCE(g.DelNoteNumber, '') = ?6 GROUP BY g.ID, g.VoucherNumber ORDER BY g.ID",
      {vb::Variant(draft.posting_from), vb::Variant(call.options.company_id),
       vb::Variant(draft.supplier_id), vb::Variant(static_cast<int32_t>(draft.type)),
       vb::Variant(draft.source_id), vb::Variant(draft.del_note_number)});
  if (found->IsEOF()) return std::nullopt;
  const int32_t voucher_id = vb::CLng(found->Item(0).Value());
  std::string number = vb::CStr(found->Item(1).Value());
  // Stopped between the posting and its number: the number is taken now.
  if (number.starts_with('~')) number = posting::FinishedVoucherNumber(call.Db(), voucher_id);
  return PostedJson(voucher_id, number, vb::CCur(found->Item(2).Value()));
}

json Post(Call& call, DraftStore& drafts, Draft& draft) {
  const std::string key = call.IdempotencyKey();
  if (key.empty()) {
    Refuse(400, "Idempotency-Key",
           "Idempotency-Key must be given: a post retried under it never posts twice");
  }
  JsonBody body(call.request.body);
  const std::optional<std::string> document = body.OptionalText("supplier_document", 30);
  body.Done();
  std::lock_guard<std::mutex> lock(draft.lock);
  if (!draft.posted && draft.posting_from != 0) {
    // A post begun and never ended: the server stopped while it ran.
    draft.posted = PostedBefore(call, draft);
    draft.posting_from = 0;
    if (!draft.posted) draft.posted_key.clear();
    drafts.Save(draft);
  }
  if (draft.posted) {
    if (draft.posted_key == key) return *draft.posted;
    Refuse(409, "",
           "This voucher was posted already as " +
               draft.posted->value("voucher_number", std::string()) + ".");
  }
  call.Require(access::Action::kPostVoucher, "voucher");
  DraftVoucher voucher(VoucherContext(call), draft);
  // Written down before posting, so that a restart cannot hide a post made.
  draft.posted_key = key;
  draft.posting_from =
      vb::CLng(call.Db().Query("SELECT COALESCE(MAX(ID), 0) + 1 FROM GRVs")->Item(0).Value());
  drafts.Save(draft);
  try {
    const posting::PostedVoucher posted = voucher.Post(document);
    draft.posted = PostedJson(posted.voucher_id, posted.voucher_number, posted.total);
  } catch (...) {
    draft.posted_key.clear();
    draft.posting_from = 0;
    drafts.Save(draft);
    throw;
  }
  draft.posting_from = 0;
  drafts.Save(draft);
  call.response.status = 201;
  return *draft.posted;
}

// Prints posted voucher `voucher_id` to a PDF and answers it; a reprint is
// marked "Copy", as the desk prints it.
json Pdf(Call& call, bool reprint) {
  call.Require(access::Action::kPostVoucher, "voucher");
  const int32_t voucher_id = call.Key(0);
  const auto found =
      call.Db().Query("SELECT TranTypeID, VoucherNumber FROM GRVs WHERE ID = ?1 AND CompanyID = ?2",
                      {vb::Variant(voucher_id), vb::Variant(call.options.company_id)});
  if (found->IsEOF())
    Refuse(404, "path", "There is no posted voucher " + std::to_string(voucher_id) + ".");
  const auto type = static_cast<posting::TransactionType>(vb::CLng(found->Item(0).Value()));
  if (!VoucherKindNamed(VoucherKindName(type))) Refuse(404, "path", "That is no voucher.");
  host::VoucherSession session(VoucherContext(call), type);
  AnswerPdf(call, vb::CStr(found->Item(1).Value()) + (reprint ? "-copy" : "") + ".pdf",
            [&] { session.Print(voucher_id, reprint); });
  return nullptr;
}

}  // namespace

void AddVoucherRoutes(ApiServer& server, DraftStore& drafts) {
  auto draft_of = [&drafts](Call& call) { return drafts.Find(call.Key(0), call.User().user); };
  server.Add(
      {"POST", "/api/voucher-drafts", [&drafts](Call& call) { return Create(call, drafts); }});
  server.Add({"GET", "/api/voucher-drafts/{id}", [draft_of](Call& call) {
                std::shared_ptr<Draft> draft = draft_of(call);
                std::lock_guard<std::mutex> lock(draft->lock);
                return DraftVoucher(VoucherContext(call), *draft).Json(*draft);
              }});
  server.Add({"PUT", "/api/voucher-drafts/{id}", [&drafts, draft_of](Call& call) {
                std::shared_ptr<Draft> draft = draft_of(call);
                JsonBody body(call.request.body);
                const auto note = body.OptionalText("delivery_note", 30);
                const auto reference = body.OptionalText("supplier_ref", 30);
                body.Done();
                return Changed(call, drafts, *draft, [&](DraftVoucher&) {
                  if (note) draft->del_note_number = *note;
                  if (reference) draft->supplier_ref = *reference;
                });
              }});
  server.Add({"DELETE", "/api/voucher-drafts/{id}", [&drafts](Call& call) {
                drafts.Remove(call.Key(0), call.User().user);
                return json{{"dropped", true}};
              }});
  server.Add({"POST", "/api/voucher-drafts/{id}/lines", [&drafts, draft_of](Call& call) {
                std::shared_ptr<Draft> draft = draft_of(call);
                JsonBody body(call.request.body);
                const int32_t line = body.Key("source_line_id");
                const double qty = body.Quantity("qty");
                body.Done();
                return Changed(call, drafts, *draft, [&](DraftVoucher& voucher) {
                  voucher.Take(line, qty);
                  draft->lines.push_back({line, qty});
                });
              }});
  server.Add(
      {"PUT", "/api/voucher-drafts/{id}/lines/{source_line_id}", [&drafts, draft_of](Call& call) {
         std::shared_ptr<Draft> draft = draft_of(call);
         JsonBody body(call.request.body);
         const double qty = body.Quantity("qty");
         body.Done();
         return Changed(call, drafts, *draft, [&](DraftVoucher& voucher) {
           const size_t row = RowOf(*draft, call.Key(1));
           voucher.Change(static_cast<int>(row), qty);
           draft->lines[row].qty = qty;
         });
       }});
  server.Add({"DELETE", "/api/voucher-drafts/{id}/lines/{source_line_id}",
              [&drafts, draft_of](Call& call) {
                std::shared_ptr<Draft> draft = draft_of(call);
                return Changed(call, drafts, *draft, [&](DraftVoucher& voucher) {
                  const size_t row = RowOf(*draft, call.Key(1));
                  voucher.Remove(static_cast<int>(row));
                  draft->lines.erase(draft->lines.begin() + static_cast<std::ptrdiff_t>(row));
                });
              }});
  // A scan (a code or a barcode) adds one of the product (or the quantity typed with it) to its
  // line, starting the line when it is not on the voucher yet.
  server.Add({"POST", "/api/voucher-drafts/{id}/scans", [&drafts, draft_of](Call& call) {
                std::shared_ptr<Draft> draft = draft_of(call);
                JsonBody body(call.request.body);
                const std::string scanned = body.Text("code", 50);
                const double qty = body.OptionalQuantity("qty").value_or(1);
                body.Done();
                const std::string code = ScannedCode(call.Db(), call.options.company_id, scanned);
                return Changed(call, drafts, *draft, [&](DraftVoucher& voucher) {
                  const int32_t line = voucher.SourceLineOf(code);
                  if (const std::optional<int> row = voucher.RowOf(line)) {
                    const double now = draft->lines[static_cast<size_t>(*row)].qty + qty;
                    voucher.Change(*row, now);
                    draft->lines[static_cast<size_t>(*row)].qty = now;
                  } else {
                    voucher.Take(line, qty);
                    draft->lines.push_back({line, qty});
                  }
                });
              }});
  server.Add({"POST", "/api/voucher-drafts/{id}/post",
              [&drafts, draft_of](Call& call) { return Post(call, drafts, *draft_of(call)); }});
  server.Add({"GET", "/api/vouchers/{id}/pdf", [](Call& call) { return Pdf(call, false); }});
  server.Add({"GET", "/api/vouchers/{id}/reprint", [](Call& call) { return Pdf(call, true); }});
}

}  // namespace kvt::serve
