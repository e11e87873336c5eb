#include "services/command_text.h"

#include <cctype>
#include <limits>

#include "platform/value/error.h"
#include "platform/value/number_text.h"
#include "platform/value/text.h"

namespace kvt::services {

namespace {

[[noreturn]] void Refuse(const std::string& text, const std::string& why) {
  throw vb::Error(kCommandRefused, "DataGateway", "The command text is not a procedure call.",
                  why + ": " + text);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  size_t SkipBlanks() {
    const size_t start = pos_;
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
    return pos_ - start;
  }
  std::string Word() {
    const size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }
  // -?digits(.digits)?
  std::string Number() {
    const size_t start = pos_;
    if (Peek() == '-') ++pos_;
    const size_t digits = pos_;
    while (IsDigit(Peek())) ++pos_;
    if (pos_ == digits) return {};
    if (Peek() == '.') {
      ++pos_;
      const size_t decimals = pos_;
      while (IsDigit(Peek())) ++pos_;
      if (pos_ == decimals) return {};
    }
    return text_.substr(start, pos_ - start);
  }
  void Advance() { ++pos_; }

 private:
  const std::string& text_;
  size_t pos_ = 0;
};

bool IsExecKeyword(const std::string& word) {
  return vb::SameText(word, "exec") || vb::SameText(word, "execute");
}

vb::Variant NumberValue(const std::string& number, const std::string& text) {
  if (number.find('.') == std::string::npos) {
    const auto whole = vb::ReadPlainInteger(number);
    if (whole && *whole >= std::numeric_limits<int32_t>::min() &&
        *whole <= std::numeric_limits<int32_t>::max()) {
      return vb::Variant(static_cast<int32_t>(*whole));
    }
  }
  const auto value = vb::ReadPlainNumber(number);
  if (!value) Refuse(text, "argument beyond the Double range");
  return vb::Variant(*value);
}

}  // namespace

bool IsProcedureName(const std::string& name) {
  if (name.empty() || IsDigit(name.front())) return false;
  for (char c : name) {
    if (!IsNameChar(c)) return false;
  }
  return true;
}

ProcedureCall ParseProcedureCall(const std::string& text) {
  Reader reader(text);
  reader.SkipBlanks();
  ProcedureCall call;
  call.name = reader.Word();
  if (IsExecKeyword(call.name)) {
    if (reader.SkipBlanks() == 0 || !IsNameChar(reader.Peek())) {
      Refuse(text, "no procedure name after Exec");
    }
    call.name = reader.Word();
  }
  if (!IsProcedureName(call.name)) Refuse(text, "no procedure name");
  const size_t blanks = reader.SkipBlanks();
  if (reader.AtEnd()) return call;
  if (blanks == 0) Refuse(text, "unexpected character after the name");
  for (;;) {
    const std::string number = reader.Number();
    if (number.empty()) Refuse(text, "argument is not a plain number");
    if (IsNameChar(reader.Peek())) Refuse(text, "argument is not a plain number");
    call.arguments.push_back(NumberValue(number, text));
    reader.SkipBlanks();
    if (reader.AtEnd()) return call;
    if (reader.Peek() != ',') Refuse(text, "arguments must be separated by ','");
    reader.Advance();
    reader.SkipBlanks();
  }
}

}  // namespace kvt::services
