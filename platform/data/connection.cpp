#include "platform/data/connection.h"

#include "platform/data/data_errors.h"

namespace kvt::data {

const char* BackendName(Backend backend) {
  return backend == Backend::kPostgreSQL ? "PostgreSQL" : "SQLite";
}

void Connection::ThrowClosed() const {
  vb::Error closed = ObjectClosedError(path_);
  throw vb::Error(closed.number(), kConnectionSource, closed.description(), closed.context());
}

void Connection::RefuseZeroCharacters(const std::string& sql,
                                      const std::vector<vb::Variant>& parameters) {
  if (sql.find('\0') != std::string::npos) {
    throw vb::Error(vb::err::kAdoDataConversion, kConnectionSource,
                    "The command holds a zero character, which a database cannot store.", sql);
  }
  for (size_t i = 0; i < parameters.size(); ++i) {
    const auto* text = parameters[i].get_if<std::string>();
    if (text != nullptr && text->find('\0') != std::string::npos) {
      throw vb::Error(vb::err::kAdoDataConversion, kConnectionSource,
                      "The text holds a zero character, which a database cannot store; nothing "
                      "was written.",
                      "parameter " + std::to_string(i + 1) + " of " + sql);
    }
  }
}

void Connection::RunInTransaction(const std::function<void()>& work, TransactionLock lock) {
  ExecuteScript(BeginText(lock));
  try {
    work();
    ExecuteScript("COMMIT");
  } catch (...) {
    // The rollback's own failure is never the news.
    if (IsOpen() && InTransaction()) {
      try {
        ExecuteScript("ROLLBACK");
      } catch (const vb::Error&) {
      }
    }
    throw;
  }
}

}  // namespace kvt::data
