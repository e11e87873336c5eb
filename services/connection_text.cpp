#include "services/connection_text.h"

#include <cctype>

#include "platform/value/error.h"

namespace kvt::services {

namespace {

constexpr char kSource[] = "DataGateway";

std::string Trim(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) {
    ++begin;
  }
  while (end > begin &&
         std::isspace(static_cast<unsigned char>(text[end - 1]))) {
    --end;
  }
  return text.substr(begin, end - begin);
}

std::string Lower(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

}  // namespace

ConnectionText ParseConnectionText(const std::string& text) {
  ConnectionText result;
  result.provider = "SQLite";
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string part = text.substr(start, end - start);
    start = end + 1;
    const size_t equals = part.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = Lower(Trim(part.substr(0, equals)));
    std::string value = Trim(part.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    if (key == "provider") {
      result.provider = value;
    } else if (key == "data source" || key == "datasource" ||
               key == "database") {
      result.data_source = value;
    } else if (key == "user id" || key == "uid") {
      result.user_id = value;
    }
  }
  if (Lower(result.provider) != "sqlite") {
    throw vb::Error(vb::err::kAdoProviderNotFound, kSource,
                    "Provider cannot be found. It may not be properly "
                    "installed.",
                    result.provider);
  }
  if (result.data_source.empty()) {
    throw vb::Error(vb::err::kAdoInvalidArgument, kSource,
                    "Arguments are of the wrong type, are out of acceptable "
                    "range, or are in conflict with one another.",
                    "no Data Source in the connection text");
  }
  return result;
}

}  // namespace kvt::services
