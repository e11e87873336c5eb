#include "platform/script/lexer.h"

#include "platform/value/text.h"

#include <charconv>
#include <cmath>
#include <iterator>

#include "platform/script/date_values.h"
#include "platform/script/script_error.h"

namespace kvt::script {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The value of a hex or octal digit, or -1.
int RadixDigit(char c, int base) {
  int digit = -1;
  if (IsDigit(c)) {
    digit = c - '0';
  } else if (vb::UpperAscii(c) >= 'A' && vb::UpperAscii(c) <= 'F') {
    digit = vb::UpperAscii(c) - 'A' + 10;
  }
  return digit < base ? digit : -1;
}

// `word` is upper case; `text` any case.
bool SameWord(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (vb::UpperAscii(text[i]) != word[i]) return false;
  }
  return true;
}

// The language's reserved words that belong to statements only, by
// length, so that a name is compared with a handful of them at most.
bool IsStatementKeyword(std::string_view text) {
  static constexpr std::string_view kByLength[][11] = {
      {},
      {},
      {"DO", "IF", "IN", "ON", "TO"},
      {"DIM", "END", "FOR", "LET", "REM", "SET", "SUB"},
      {"CALL", "CASE", "EACH", "ELSE", "EXIT", "LOOP", "NEXT", "STOP", "THEN", "WEND", "WITH"},
      {"CLASS", "CONST", "ERASE", "REDIM", "UNTIL", "WHILE"},
      {"ELSEIF", "OPTION", "PUBLIC", "SELECT"},
      {"PRIVATE"},
      {"FUNCTION"},
  };
  if (text.size() >= std::size(kByLength)) return false;
  for (std::string_view word : kByLength[text.size()]) {
    if (!word.empty() && SameWord(text, word)) return true;
  }
  return false;
}

TokenKind KeywordOrIdentifier(std::string_view text) {
  switch (text.size()) {
    case 2:
      if (SameWord(text, "OR")) return TokenKind::kOr;
      if (SameWord(text, "IS")) return TokenKind::kIs;
      break;
    case 3:
      if (SameWord(text, "AND")) return TokenKind::kAnd;
      if (SameWord(text, "NOT")) return TokenKind::kNot;
      if (SameWord(text, "MOD")) return TokenKind::kMod;
      if (SameWord(text, "XOR")) return TokenKind::kXor;
      if (SameWord(text, "EQV")) return TokenKind::kEqv;
      if (SameWord(text, "IMP")) return TokenKind::kImp;
      break;
    case 4:
      if (SameWord(text, "TRUE")) return TokenKind::kTrue;
      if (SameWord(text, "NULL")) return TokenKind::kNull;
      break;
    case 5:
      if (SameWord(text, "FALSE")) return TokenKind::kFalse;
      if (SameWord(text, "EMPTY")) return TokenKind::kEmpty;
      break;
    case 7:
      if (SameWord(text, "NOTHING")) return TokenKind::kNothing;
      break;
    default: break;
  }
  return IsStatementKeyword(text) ? TokenKind::kStatementKeyword : TokenKind::kIdentifier;
}

// About the power of ten of a number literal's leading digit: for a
// literal beyond the Double range, positive means too large and negative
// too small.
int64_t DecimalMagnitude(std::string_view text) {
  constexpr int64_t kCap = 1000000;  // far beyond any Double, safe from overflow
  int64_t magnitude = 0;
  bool leading_seen = false;
  size_t pos = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    leading_seen = leading_seen || text[pos] != '0';
    if (leading_seen && magnitude < kCap) ++magnitude;
  }
  if (pos < text.size() && text[pos] == '.') ++pos;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    leading_seen = leading_seen || text[pos] != '0';
    if (!leading_seen && magnitude > -kCap) --magnitude;
  }
  if (pos < text.size()) {  // the exponent: "e", a sign, digits
    const bool negative = ++pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
    int64_t exponent = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
      if (exponent < kCap) exponent = exponent * 10 + (text[pos] - '0');
    }
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude;
}

Token Simple(TokenKind kind, size_t start, std::string_view text) {
  Token token;
  token.kind = kind;
  token.position = static_cast<uint32_t>(start);
  token.text = text;
  return token;
}

}  // namespace

std::string TokenContext(const Token& token) {
  std::string context = "position " + std::to_string(token.position);
  if (token.kind == TokenKind::kEnd) return context + ", end of expression";
  constexpr size_t kShown = 40;
  context += ", '";
  context.append(token.text.substr(0, kShown));
  if (token.text.size() > kShown) context += "...";
  return context + "'";
}

Token Lexer::Next() {
  for (;;) {
    while (pos_ < source_.size() && (source_[pos_] == ' ' || source_[pos_] == '\t')) ++pos_;
    if (pos_ >= source_.size()) return Simple(TokenKind::kEnd, pos_, {});
    if (source_[pos_] != '\'') break;
    // A comment runs to the end of the line.
    while (pos_ < source_.size() && source_[pos_] != '\n' && source_[pos_] != '\r') ++pos_;
  }
  const size_t start = pos_;
  const char c = source_[pos_];
  auto one = [&](TokenKind kind) {
    ++pos_;
    return Simple(kind, start, source_.substr(start, 1));
  };
  auto two = [&](TokenKind kind) {
    pos_ += 2;
    return Simple(kind, start, source_.substr(start, 2));
  };
  const char next = pos_ + 1 < source_.size() ? source_[pos_ + 1] : '\0';
  if (IsDigit(c) || (c == '.' && IsDigit(next))) return Number(start);
  if (IsLetter(c)) return Identifier(start);
  switch (c) {
    case '"': return StringLiteral(start);
    case '#': return DateLiteral(start);
    case '+': return one(TokenKind::kPlus);
    case '-': return one(TokenKind::kMinus);
    case '*': return one(TokenKind::kStar);
    case '/': return one(TokenKind::kSlash);
    case '\\': return one(TokenKind::kBackslash);
    case '^': return one(TokenKind::kCaret);
    case '(': return one(TokenKind::kLParen);
    case ')': return one(TokenKind::kRParen);
    case ',': return one(TokenKind::kComma);
    case '.': return one(TokenKind::kDot);
    case '=':
      if (next == '>') return two(TokenKind::kGreaterEqual);
      if (next == '<') return two(TokenKind::kLessEqual);
      return one(TokenKind::kEqual);
    case ':':
    case '\n':
    case '\r': return one(TokenKind::kNewline);
    case '<':
      if (next == '>') return two(TokenKind::kNotEqual);
      if (next == '=') return two(TokenKind::kLessEqual);
      return one(TokenKind::kLess);
    case '>':
      if (next == '=') return two(TokenKind::kGreaterEqual);
      if (next == '<') return two(TokenKind::kNotEqual);
      return one(TokenKind::kGreater);
    case '&': {
      // "&H" or "&O" opens a number only when a digit of that base follows;
      // otherwise it is "&" before a name ("x" &hi joins x and hi).
      const char digit = pos_ + 2 < source_.size() ? source_[pos_ + 2] : '\0';
      if ((next == 'h' || next == 'H') && RadixDigit(digit, 16) >= 0) {
        return RadixNumber(start, 16);
      }
      if ((next == 'o' || next == 'O') && RadixDigit(digit, 8) >= 0) {
        return RadixNumber(start, 8);
      }
      return one(TokenKind::kAmpersand);
    }
    default: {
      Token bad = Simple(TokenKind::kEnd, start, source_.substr(start, 1));
      throw CompileError(err::kInvalidCharacter, TokenContext(bad));
    }
  }
}

Token Lexer::Number(size_t start) {
  size_t end = start;
  bool whole = true;
  while (end < source_.size() && IsDigit(source_[end])) ++end;
  if (end < source_.size() && source_[end] == '.') {
    whole = false;
    ++end;
    while (end < source_.size() && IsDigit(source_[end])) ++end;
  }
  if (end < source_.size() && (source_[end] == 'e' || source_[end] == 'E')) {
    whole = false;
    size_t exponent = end + 1;
    if (exponent < source_.size() && (source_[exponent] == '+' || source_[exponent] == '-')) {
      ++exponent;
    }
    if (exponent >= source_.size() || !IsDigit(source_[exponent])) {
      Token bad = Simple(TokenKind::kNumber, start, source_.substr(start, exponent - start));
      throw CompileError(err::kInvalidNumber, TokenContext(bad));
    }
    end = exponent;
    while (end < source_.size() && IsDigit(source_[end])) ++end;
  }
  Token token = Simple(TokenKind::kNumber, start, source_.substr(start, end - start));
  pos_ = end;
  const char* first = source_.data() + start;
  const char* last = source_.data() + end;
  double value = 0;
  // from_chars wants a leading digit; ".5" reads as "0.5" in the language.
  std::string padded;
  if (*first == '.') {
    padded = "0";
    padded.append(first, last);
    first = padded.data();
    last = padded.data() + padded.size();
  }
  auto result = std::from_chars(first, last, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow cannot be represented.
    if (DecimalMagnitude(token.text) > 0) {
      throw CompileError(err::kInvalidNumber, TokenContext(token));
    }
    value = 0;
  } else if (result.ec != std::errc() || !std::isfinite(value)) {
    throw CompileError(err::kInvalidNumber, TokenContext(token));
  }
  token.number = value;
  if (whole && value <= 32767) {
    token.number_type = NumberType::kInteger;
  } else if (whole && value <= 2147483647.0) {
    token.number_type = NumberType::kLong;
  } else {
    token.number_type = NumberType::kDouble;
  }
  return token;
}

Token Lexer::RadixNumber(size_t start, int base) {
  size_t end = start + 2;
  uint64_t value = 0;
  size_t digits = 0;
  for (int digit; end < source_.size() && (digit = RadixDigit(source_[end], base)) >= 0; ++end) {
    // Leading zeros do not count towards the 32-bit limit.
    if (value != 0 || digit != 0) ++digits;
    if (digits > 11) break;  // already beyond 32 bits in either base
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  bool long_suffix = false;
  if (end < source_.size() && source_[end] == '&') {
    long_suffix = true;
    ++end;
  }
  // A letter may follow directly: "&H01Or&H02" is 1 Or 2.
  Token token = Simple(TokenKind::kNumber, start, source_.substr(start, end - start));
  pos_ = end;
  if (value > 0xFFFFFFFFull || (end < source_.size() && IsDigit(source_[end]))) {
    throw CompileError(err::kInvalidNumber, TokenContext(token));
  }
  const int32_t number = value <= 0xFFFF && !long_suffix
                             ? static_cast<int16_t>(static_cast<uint16_t>(value))
                             : static_cast<int32_t>(static_cast<uint32_t>(value));
  token.number = number;
  token.number_type =
      number >= INT16_MIN && number <= INT16_MAX ? NumberType::kInteger : NumberType::kLong;
  return token;
}

Token Lexer::StringLiteral(size_t start) {
  size_t end = start + 1;
  bool doubled = false;
  for (;;) {
    if (end >= source_.size() || source_[end] == '\n' || source_[end] == '\r') {
      Token bad = Simple(TokenKind::kString, start, source_.substr(start, end - start));
      throw CompileError(err::kUnterminatedString, TokenContext(bad));
    }
    if (source_[end] == '"') {
      if (end + 1 < source_.size() && source_[end + 1] == '"') {
        doubled = true;
        end += 2;
        continue;
      }
      break;
    }
    ++end;
  }
  Token token = Simple(TokenKind::kString, start, source_.substr(start + 1, end - start - 1));
  token.has_doubled_quote = doubled;
  pos_ = end + 1;
  return token;
}

Token Lexer::DateLiteral(size_t start) {
  size_t end = start + 1;
  while (end < source_.size() && source_[end] != '#' && source_[end] != '\n' &&
         source_[end] != '\r') {
    ++end;
  }
  if (end >= source_.size() || source_[end] != '#') {
    Token bad = Simple(TokenKind::kEnd, start, source_.substr(start, 1));
    throw CompileError(err::kInvalidCharacter, TokenContext(bad));
  }
  Token token = Simple(TokenKind::kDate, start, source_.substr(start + 1, end - start - 1));
  pos_ = end + 1;
  const std::optional<vb::Date> date = ParseDateLiteral(token.text);
  if (!date) throw CompileError(err::kSyntaxError, TokenContext(token));
  token.number = date->serial();
  return token;
}

Token Lexer::Identifier(size_t start) {
  size_t end = start + 1;
  while (end < source_.size() &&
         (IsLetter(source_[end]) || IsDigit(source_[end]) || source_[end] == '_')) {
    ++end;
  }
  Token token = Simple(TokenKind::kIdentifier, start, source_.substr(start, end - start));
  pos_ = end;
  if (token.text.size() > kMaxIdentifierLength) {
    throw CompileError(err::kIdentifierTooLong, TokenContext(token));
  }
  token.kind = KeywordOrIdentifier(token.text);
  return token;
}

}  // namespace kvt::script
