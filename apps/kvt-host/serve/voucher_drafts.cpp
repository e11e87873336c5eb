#include "apps/kvt-host/serve/voucher_drafts.h"

#include "apps/kvt-host/serve/api_error.h"
#include "platform/value/conversions.h"
#include "platform/value/date.h"
#include "services/connection_text.h"

namespace kvt::serve {

namespace {

using nlohmann::json;

constexpr char kColumns[] =
    "ID, Owner, TranTypeID, SupplierID, SourceID, DelNoteNumber, SupplierRef, Lines, "
    "AppliedKeys, PostingKey, PostingFrom, Posted";

std::string Text(data::RecordSet& row, int column) {
  const vb::Variant value = row.Item(column).Value();
  return value.IsNull() ? std::string() : vb::CStr(value);
}

// The time `age` ago, as the database keeps UpdatedAt.
vb::Variant Before(std::chrono::hours age) {
  return vb::Variant(vb::Date::FromSerial(vb::Date::Now().serial() - age.count() / 24.0));
}

json LinesJson(const std::vector<DraftLine>& lines) {
  json list = json::array();
  for (const DraftLine& line : lines) list.push_back({line.source_line_id, line.qty});
  return list;
}

// What this build wrote; a row it cannot read is no draft.
void ReadLines(const std::string& text, std::vector<DraftLine>& lines) {
  for (const json& line : json::parse(text)) {
    lines.push_back({line.at(0).get<int32_t>(), line.at(1).get<double>()});
  }
}

}  // namespace

data::ConnectionRef DraftStore::Open() const {
  return services::OpenConnection(services::ParseConnectionText(connection_text_));
}

std::shared_ptr<Draft> DraftStore::Create(const std::string& owner, posting::TransactionType type,
                                          int32_t supplier_id, int32_t source_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  const data::ConnectionRef connection = Open();
  DropIdle(*connection);
  const auto owned = connection->Query(
      "SELECT COUNT(*) FROM VoucherDrafts WHERE CompanyID = ?1 AND Owner = ?2 AND Posted IS NULL",
      {vb::Variant(company_id_), vb::Variant(owner)});
  if (static_cast<size_t>(vb::CLng(owned->Item(0).Value())) >= kDraftsPerUser) {
    Refuse(429, "",
           "You have " + std::to_string(kDraftsPerUser) +
               " vouchers open already: post or drop one first.");
  }
  auto draft = std::make_shared<Draft>();
  draft->id = vb::CLng(
      connection->Query("SELECT COALESCE(MAX(ID), 0) + 1 FROM VoucherDrafts")->Item(0).Value());
  draft->owner = owner;
  draft->type = type;
  draft->supplier_id = supplier_id;
  draft->source_id = source_id;
  connection->Execute(
      "INSERT INTO VoucherDrafts (ID, CompanyID, Owner, TranTypeID, SupplierID, SourceID, "
      "UpdatedAt) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
      {vb::Variant(draft->id), vb::Variant(company_id_), vb::Variant(owner),
       vb::Variant(static_cast<int32_t>(type)), vb::Variant(supplier_id), vb::Variant(source_id),
       vb::Variant(vb::Date::Now())});
  live_[draft->id] = draft;
  return draft;
}

std::shared_ptr<Draft> DraftStore::Find(int32_t id, const std::string& owner) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(live_, [](const auto& entry) { return entry.second.expired(); });
  if (const auto found = live_.find(id); found != live_.end()) {
    if (std::shared_ptr<Draft> draft = found->second.lock(); draft && draft->owner == owner) {
      return draft;
    }
  } else if (std::shared_ptr<Draft> draft = Load(*Open(), id, owner)) {
    live_[id] = draft;
    return draft;
  }
  Refuse(404, "path", "There is no voucher " + std::to_string(id) + " being captured by you.");
}

std::shared_ptr<Draft> DraftStore::Load(data::Connection& connection, int32_t id,
                                        const std::string& owner) {
  auto row = connection.Query(std::string("SELECT ") + kColumns +
                                  " FROM VoucherDrafts WHERE ID = ?1 AND CompanyID = ?2 AND "
                                  "Owner = ?3",
                              {vb::Variant(id), vb::Variant(company_id_), vb::Variant(owner)});
  if (row->IsEOF()) return nullptr;
  auto draft = std::make_shared<Draft>();
  draft->id = id;
  draft->owner = owner;
  draft->type = static_cast<posting::TransactionType>(vb::CLng(row->Item(2).Value()));
  draft->supplier_id = vb::CLng(row->Item(3).Value());
  draft->source_id = vb::CLng(row->Item(4).Value());
  draft->del_note_number = Text(*row, 5);
  draft->supplier_ref = Text(*row, 6);
  try {
    ReadLines(Text(*row, 7), draft->lines);
    for (const json& key : json::parse(Text(*row, 8)))
      draft->applied_keys.insert(key.get<std::string>());
    if (const std::string posted = Text(*row, 11); !posted.empty()) {
      draft->posted = json::parse(posted);
    }
  } catch (const json::exception&) {
    Refuse(500, "", "Voucher " + std::to_string(id) + " being captured could not be read back.");
  }
  draft->posted_key = Text(*row, 9);
  if (!row->Item(10).IsNull()) draft->posting_from = vb::CLng(row->Item(10).Value());
  return draft;
}

void DraftStore::Save(const Draft& draft) {
  json keys = json::array();
  for (const std::string& key : draft.applied_keys) keys.push_back(key);
  Open()->Execute(
      "UPDATE VoucherDrafts SET DelNoteNumber = ?1, SupplierRef = ?2, Lines = ?3, "
      "AppliedKeys = ?4, PostingKey = ?5, PostingFrom = ?6, Posted = ?7, UpdatedAt = ?8 "
      "WHERE ID = ?9",
      {vb::Variant(draft.del_note_number), vb::Variant(draft.supplier_ref),
       vb::Variant(JsonText(LinesJson(draft.lines))), vb::Variant(JsonText(keys)),
       draft.posted_key.empty() ? vb::Variant::Null() : vb::Variant(draft.posted_key),
       draft.posting_from == 0 ? vb::Variant::Null() : vb::Variant(draft.posting_from),
       draft.posted ? vb::Variant(JsonText(*draft.posted)) : vb::Variant::Null(),
       vb::Variant(vb::Date::Now()), vb::Variant(draft.id)});
}

void DraftStore::Remove(int32_t id, const std::string& owner) {
  Find(id, owner);
  std::lock_guard<std::mutex> lock(mutex_);
  Open()->Execute("DELETE FROM VoucherDrafts WHERE ID = ?1", {vb::Variant(id)});
  live_.erase(id);
}

void DraftStore::DropIdle(data::Connection& connection) {
  // A post begun and not ended stays until it is found or made.
  connection.Execute(
      "DELETE FROM VoucherDrafts WHERE CompanyID = ?1 AND PostingFrom IS NULL AND "
      "((Posted IS NULL AND UpdatedAt < ?2) OR (Posted IS NOT NULL AND UpdatedAt < ?3))",
      {vb::Variant(company_id_), Before(kDraftIdleLimit), Before(kPostedKept)});
}

}  // namespace kvt::serve
