// Lexer: splits an expression into tokens on demand, one at a time, so
// the evaluator never builds a token list. Number literals are read with
// "." as decimal point whatever the locale, as the language defines them.
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
  kIdentifier,
  kPlus,
  kMinus,
  kStar,
  kSlash,
  kBackslash,
  kCaret,
  kAmpersand,
  kEqual,
  kNotEqual,
  kLess,
  kGreater,
  kLessEqual,
  kGreaterEqual,
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
};

// Subtype a number literal takes: whole numbers are Integer while they fit
// 16 bits, then Long, then Double; hex and octal literals up to 16 bits
// are Integer (read signed, &HFFFF is -1), up to 32 bits Long.
enum class NumberType : uint8_t { kInteger, kLong, kDouble };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  NumberType number_type = NumberType::kInteger;
  // A string literal containing doubled quotes that still need undoubling.
  bool has_doubled_quote = false;
  uint32_t position = 0;  // byte offset in the expression
  std::string_view text;  // the token's source text (strings without quotes)
  double number = 0;      // value of a kNumber (whole values exact)
};

// Longest identifier the language accepts.
inline constexpr size_t kMaxIdentifierLength = 255;

class Lexer {
 public:
  explicit Lexer(std::string_view source) : source_(source) {}

  // The next token. Raises 1031 (Invalid number) for a malformed or
  // unrepresentable number, 1032 (Invalid character), 1033 (Unterminated
  // string constant) and 1030 (Identifier too long).
  Token Next();

 private:
  Token Number(size_t start);
  Token RadixNumber(size_t start, int base);
  Token StringLiteral(size_t start);
  Token Identifier(size_t start);

  std::string_view source_;
  size_t pos_ = 0;
};

// Context text for an error at `token`: its position and source text.
std::string TokenContext(const Token& token);

}  // namespace kvt::script
