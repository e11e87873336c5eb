// Vouchers being captured through the API, kept in the database between
// requests and across restarts of the server: what the clerk chose and
// typed, never the component's state (the voucher is taken again through
// the voucher session on each request, on whichever worker runs it). A
// draft belongs to the user who started it. Once posted it remembers the
// voucher and the idempotency key it was posted with, so a retried post
// answers the same voucher instead of posting again; a post begun is
// written down before it is made, so one cut short by a restart is found
// afterwards rather than made twice. Written through the server's own
// connection (a server's owner), not the user's. Thread-safe; each draft
// has a lock its requests hold.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "apps/kvt-host/posting/voucher.h"
#include "platform/data/connection.h"

namespace kvt::serve {

// The most drafts one user keeps open (not yet posted), how long an
// untouched one is kept, and how long a posted one is kept for retries.
inline constexpr size_t kDraftsPerUser = 100;
inline constexpr std::chrono::hours kDraftIdleLimit{12};
inline constexpr std::chrono::hours kPostedKept{24};
inline constexpr size_t kChangesPerDraft = 5000;

struct DraftLine {
  int32_t source_line_id = 0;
  double qty = 0;
};

struct Draft {
  int32_t id = 0;
  std::string owner;
  posting::TransactionType type = posting::kGoodsReceived;
  int32_t supplier_id = 0;
  int32_t source_id = 0;
  std::string del_note_number;
  std::string supplier_ref;
  std::vector<DraftLine> lines;
  // The idempotency keys of the changes made, so that a change retried
  // (its answer lost on the way) is not made twice.
  std::set<std::string> applied_keys;
  // The key of the post begun or made, and while one is begun and not
  // ended the first voucher ID it may have taken (0: none begun).
  std::string posted_key;
  int32_t posting_from = 0;
  // Once posted: the answer given.
  std::optional<nlohmann::json> posted;

  std::mutex lock;
};

class DraftStore {
 public:
  // Drafts of company `company_id` in the database `connection_text`
  // names.
  DraftStore(std::string connection_text, int32_t company_id)
      : connection_text_(std::move(connection_text)), company_id_(company_id) {}

  // A new draft of `owner`, written. Refuses (429) an owner with
  // kDraftsPerUser open.
  std::shared_ptr<Draft> Create(const std::string& owner, posting::TransactionType type,
                                int32_t supplier_id, int32_t source_id);
  // The owner's draft `id`; 404 for another's or none.
  std::shared_ptr<Draft> Find(int32_t id, const std::string& owner);
  void Remove(int32_t id, const std::string& owner);
  // Writes `draft` as it stands; call holding its lock.
  void Save(const Draft& draft);

 private:
  data::ConnectionRef Open() const;
  std::shared_ptr<Draft> Load(data::Connection& connection, int32_t id, const std::string& owner);
  void DropIdle(data::Connection& connection);

  std::string connection_text_;
  int32_t company_id_;
  std::mutex mutex_;
  // The drafts requests hold now, so that requests on one draft share its
  // lock; read again from the database once none does.
  std::map<int32_t, std::weak_ptr<Draft>> live_;
};

}  // namespace kvt::serve
