// Lexer: splits an expression into tokens on demand, one at a time, so
// the evaluator never builds a token list. Number literals are read with
// "." as decimal point and date literals month first, whatever the locale,
// as the language defines them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvt::script {

enum class TokenKind : uint8_t {
  kEnd,
  kNewline,  // a line break or ':' ends the statement
  kNumber,
  kString,
  kDate,  // #1/31/2024#; its serial is the token's number
  kIdentifier,
  kPlus,
  kMinus,
  kStar,
  kSlash,
  kBackslash,
  kCaret,
  kAmpersand,
  kEqual,
  kNotEqual,  // "<>" or "><"
  kLess,
  kGreater,
  kLessEqual,     // "<=" or "=<"
  kGreaterEqual,  // ">=" or "=>"

  kLParen,
  kRParen,
  kComma,
  kDot,
  // Keywords, matched case-insensitively.
  kAnd,
  kOr,
  kNot,
  kXor,
  kEqv,
  kImp,
  kMod,
  kIs,
  kTrue,
  kFalse,
  kEmpty,
  kNull,
  kNothing,
  // A word that begins or structures a statement (Dim, If, Then, Set, ...):
  // reserved, so it is no name, and no expression may hold it.
  kStatementKeyword,
};

// Subtype a number literal takes: whole numbers are Integer while they fit
// 16 bits, then Long, then Double. Hex and octal literals of up to 16 bits
// read as a signed 16-bit value (&HFFFF is -1), longer ones and those with
// a "&" suffix as a signed 32-bit value (&HFFFF& is 65535); the value is
// then an Integer when it fits 16 bits (&HFFFFFFFF is Integer -1), else a
// Long.
enum class NumberType : uint8_t { kInteger, kLong, kDouble };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  NumberType number_type = NumberType::kInteger;
  // A string literal containing doubled quotes that still need undoubling.
  bool has_doubled_quote = false;
  uint32_t position = 0;  // byte offset in the expression
  std::string_view text;  // the token's source text (strings without quotes)
  double number = 0;      // value of a kNumber (whole values exact), serial of a kDate
};

// Longest identifier the language accepts.
inline constexpr size_t kMaxIdentifierLength = 255;

class Lexer {
 public:
  explicit Lexer(std::string_view source) : source_(source) {}

  // The next token. Raises 1031 (Invalid number) for a malformed or
  // unrepresentable number, 1032 (Invalid character, also for a "#" that
  // opens no date literal), 1002 (Syntax error) for a date literal that is
  // no valid date, 1033 (Unterminated string constant) and 1030
  // (Identifier too long).
  Token Next();

 private:
  Token Number(size_t start);
  Token RadixNumber(size_t start, int base);
  Token StringLiteral(size_t start);
  Token DateLiteral(size_t start);
  Token Identifier(size_t start);

  std::string_view source_;
  size_t pos_ = 0;
};

// Context text for an error at `token`: its position and source text.
std::string TokenContext(const Token& token);

}  // namespace kvt::script
