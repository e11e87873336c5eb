// Vouchers being captured through the API, kept by the server between
// requests: what the clerk chose and typed, never the component's state
// (the voucher is taken again through the voucher session on each
// request, on whichever worker runs it). A draft belongs to the user who
// started it; once posted it remembers the voucher and the idempotency key
// it was posted with, so a retried post answers the same voucher instead
// of posting again. Thread-safe; each draft has a lock its requests hold.
#pragma once

#include <atomic>
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

namespace kvt::serve {

// The most drafts one user keeps open (not yet posted), how long an
// untouched one is kept, and how long a posted one is kept for retries.
inline constexpr size_t kDraftsPerUser = 100;
inline constexpr std::chrono::hours kDraftIdleLimit{12};
inline constexpr std::chrono::minutes kPostedKept{30};
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
  // Once posted: the key it was posted under and the answer given.
  std::string posted_key;
  std::optional<nlohmann::json> posted;
  // Set once `posted` is (read without the draft's lock by the store).
  std::atomic<bool> is_posted = false;

  std::mutex lock;
  std::chrono::steady_clock::time_point touched;
};

class DraftStore {
 public:
  // A new draft of `owner`. Refuses (429) an owner with kDraftsPerUser open.
  std::shared_ptr<Draft> Create(const std::string& owner, posting::TransactionType type,
                                int32_t supplier_id, int32_t source_id);
  // The owner's draft `id`; 404 for another's or none.
  std::shared_ptr<Draft> Find(int32_t id, const std::string& owner);
  void Remove(int32_t id, const std::string& owner);

 private:
  void DropIdle();

  std::mutex mutex_;
  int32_t next_id_ = 1;
  std::map<int32_t, std::shared_ptr<Draft>> drafts_;
};

}  // namespace kvt::serve
