// The idempotency keys of consignment sales made through the API, kept in
// the database (through the server's own connection, as the drafts are):
// a sale sent again under its key, its answer lost on the way, answers
// what it answered instead of selling again, after a restart too. A key
// is taken before the sale is made, so two sends of one sale at once make
// it once. A key belongs to the user who sent it and is kept for a day.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace kvt::serve {

class SaleKeys {
 public:
  SaleKeys(std::string connection_text, int32_t company_id)
      : connection_text_(std::move(connection_text)), company_id_(company_id) {}

  // Takes `key` of `owner` for the sale `request` (its fields as text) and
  // answers nothing; or, when the key was taken before for that sale, the
  // answer it got. Refuses 422 for a key taken for another sale, 409 while
  // the sale under it is being made or was cut short by a restart.
  std::optional<nlohmann::json> Begin(const std::string& owner, const std::string& key,
                                      const std::string& request);
  // The sale under `key` was made and answered `answer`.
  void Done(const std::string& owner, const std::string& key, const nlohmann::json& answer);
  // The sale under `key` was refused: the key may be sent again.
  void Drop(const std::string& owner, const std::string& key);

 private:
  std::string connection_text_;
  int32_t company_id_;
};

}  // namespace kvt::serve
