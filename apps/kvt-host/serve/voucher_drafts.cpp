#include "apps/kvt-host/serve/voucher_drafts.h"

#include <algorithm>

#include "apps/kvt-host/serve/api_error.h"

namespace kvt::serve {

std::shared_ptr<Draft> DraftStore::Create(const std::string& owner, posting::TransactionType type,
                                          int32_t supplier_id, int32_t source_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  DropIdle();
  const auto owned = std::count_if(drafts_.begin(), drafts_.end(), [&](const auto& entry) {
    return entry.second->owner == owner && !entry.second->is_posted;
  });
  if (static_cast<size_t>(owned) >= kDraftsPerUser) {
    Refuse(429, "",
           "You have " + std::to_string(kDraftsPerUser) +
               " vouchers open already: post or drop one first.");
  }
  auto draft = std::make_shared<Draft>();
  draft->id = next_id_++;
  draft->owner = owner;
  draft->type = type;
  draft->supplier_id = supplier_id;
  draft->source_id = source_id;
  draft->touched = std::chrono::steady_clock::now();
  drafts_[draft->id] = draft;
  return draft;
}

std::shared_ptr<Draft> DraftStore::Find(int32_t id, const std::string& owner) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = drafts_.find(id);
  if (found == drafts_.end() || found->second->owner != owner) {
    Refuse(404, "path", "There is no voucher " + std::to_string(id) + " being captured by you.");
  }
  found->second->touched = std::chrono::steady_clock::now();
  return found->second;
}

void DraftStore::Remove(int32_t id, const std::string& owner) {
  Find(id, owner);
  std::lock_guard<std::mutex> lock(mutex_);
  drafts_.erase(id);
}

void DraftStore::DropIdle() {
  const auto now = std::chrono::steady_clock::now();
  std::erase_if(drafts_, [&](const auto& entry) {
    const Draft& draft = *entry.second;
    return draft.touched < now - (draft.is_posted ? kPostedKept : kDraftIdleLimit);
  });
}

}  // namespace kvt::serve
