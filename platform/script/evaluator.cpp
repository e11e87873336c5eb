#include "platform/script/evaluator.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/script/builtin_support.h"
#include "platform/script/builtins.h"
#include "platform/script/lexer.h"
#include "platform/script/operators.h"
#include "platform/script/script_constants.h"
#include "platform/script/script_error.h"
#include "platform/script/string_budget.h"
#include "platform/value/conversions.h"
#include "platform/value/error.h"
#include "platform/value/variant_array.h"

namespace kvt::script {
namespace {

using vb::Variant;

struct Operand {
  Variant value;
  // A number or text literal of the expression ("1", -2, "abc"), or a
  // constant of either kind: comparisons between a number and a text
  // convert towards the literal's type. True and False are no such
  // literals: "True" = True compares texts.
  bool literal = false;
};

// Binding strength of the binary operators, loosest first; 0 for a token
// that is no binary operator. Not (6) sits between; unary minus binds
// tighter than all of them, "^" included, so -3^2 is 9.
int BinaryPrecedence(TokenKind kind) {
  switch (kind) {
    case TokenKind::kImp: return 1;
    case TokenKind::kEqv: return 2;
    case TokenKind::kXor: return 3;
    case TokenKind::kOr: return 4;
    case TokenKind::kAnd: return 5;
    case TokenKind::kEqual:
    case TokenKind::kNotEqual:
    case TokenKind::kLess:
    case TokenKind::kGreater:
    case TokenKind::kLessEqual:
    case TokenKind::kGreaterEqual:
    case TokenKind::kIs: return 7;
    case TokenKind::kAmpersand: return 8;
    case TokenKind::kPlus:
    case TokenKind::kMinus: return 9;
    case TokenKind::kMod: return 10;
    case TokenKind::kBackslash: return 11;
    case TokenKind::kStar:
    case TokenKind::kSlash: return 12;
    case TokenKind::kCaret: return 14;
    default: return 0;
  }
}

constexpr int kLowestPrecedence = 1;
// Not takes a comparison as its operand.
constexpr int kNotOperandPrecedence = 7;

class Evaluator {
 public:
  Evaluator(std::string_view source, EvaluationNotes* notes) : lexer_(source), notes_(notes) {
    Advance();
  }

  Variant Run() {
    Operand result = Expression(kLowestPrecedence);
    while (token_.kind == TokenKind::kNewline) Advance();
    if (token_.kind != TokenKind::kEnd) {
      throw CompileError(err::kExpectedEndOfStatement, TokenContext(token_));
    }
    if (pending_) throw *pending_;
    return std::move(result.value);
  }

 private:
  using Arguments = std::array<Variant, kMaxBuiltinArguments>;

  class DepthGuard {
   public:
    explicit DepthGuard(int& depth) : depth_(depth) {
      if (++depth_ > kMaxNestingDepth) {
        throw RuntimeError(vb::err::kOutOfStackSpace,
                           "nesting deeper than " + std::to_string(kMaxNestingDepth));
      }
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    int& depth_;
  };

  void Advance() { token_ = lexer_.Next(); }

  // Once a run-time error has happened the rest of the text is only
  // checked for syntax; the first error is raised at the end.
  void Defer(const vb::Error& error) {
    if (!active_) return;
    active_ = false;
    if (error.source().empty()) {
      pending_.emplace(RuntimeError(error.number(), error.context()));
    } else {
      pending_.emplace(error);
    }
  }

  template <class Compute>
  Operand Evaluate(Compute compute) {
    if (!active_) return {};
    try {
      return {compute(), false};
    } catch (const vb::Error& error) {
      Defer(error);
      return {};
    }
  }

  Operand Expression(int min_precedence) {
    DepthGuard guard(depth_);
    Operand left = Prefix();
    for (;;) {
      const TokenKind op = token_.kind;
      const int precedence = BinaryPrecedence(op);
      if (precedence == 0 || precedence < min_precedence) return left;
      Advance();
      // Left-associative: the right operand binds only tighter operators.
      Operand right = Expression(precedence + 1);
      left = Binary(op, left, right);
    }
  }

  Operand Binary(TokenKind op, const Operand& x, const Operand& y) {
    return Evaluate([&]() -> Variant {
      const Variant& a = x.value;
      const Variant& b = y.value;
      switch (op) {
        case TokenKind::kPlus: return Add(a, b, budget_);
        case TokenKind::kMinus: return Subtract(a, b);
        case TokenKind::kStar: return Multiply(a, b);
        case TokenKind::kSlash: return Divide(a, b);
        case TokenKind::kBackslash: return IntDivide(a, b);
        case TokenKind::kMod: return Modulo(a, b);
        case TokenKind::kCaret: return Power(a, b);
        case TokenKind::kAmpersand: return Concat(a, b, budget_);
        case TokenKind::kEqual: return Compare(CompareOp::kEqual, a, x.literal, b, y.literal);
        case TokenKind::kNotEqual: return Compare(CompareOp::kNotEqual, a, x.literal, b, y.literal);
        case TokenKind::kLess: return Compare(CompareOp::kLess, a, x.literal, b, y.literal);
        case TokenKind::kGreater: return Compare(CompareOp::kGreater, a, x.literal, b, y.literal);
        case TokenKind::kLessEqual:
          return Compare(CompareOp::kLessEqual, a, x.literal, b, y.literal);
        case TokenKind::kGreaterEqual:
          return Compare(CompareOp::kGreaterEqual, a, x.literal, b, y.literal);
        case TokenKind::kIs: return Is(a, b);
        case TokenKind::kAnd: return And(a, b);
        case TokenKind::kOr: return Or(a, b);
        case TokenKind::kXor: return Xor(a, b);
        case TokenKind::kEqv: return Eqv(a, b);
        case TokenKind::kImp: return Imp(a, b);
        default: return Variant();
      }
    });
  }

  Operand Prefix() {
    switch (token_.kind) {
      case TokenKind::kNot: {
        Advance();
        const Operand operand = Expression(kNotOperandPrecedence);
        return ApplyNot(operand);
      }
      case TokenKind::kMinus: {
        DepthGuard guard(depth_);
        Advance();
        const Operand operand = Prefix();
        return ApplyNegate(operand);
      }
      case TokenKind::kPlus: {
        DepthGuard guard(depth_);
        Advance();
        return Prefix();
      }
      default: return Primary();
    }
  }

  Operand ApplyNot(const Operand& operand) {
    return Evaluate([&] { return Not(operand.value); });
  }

  Operand ApplyNegate(const Operand& operand) {
    Operand result = Evaluate([&] { return Negate(operand.value); });
    result.literal = operand.literal;  // -5 is still a literal
    return result;
  }

  // The functions on the recursive path (Expression, Prefix, Primary,
  // Parenthesized, Name, ArgumentList) keep their frames small so that
  // kMaxNestingDepth fits a thread's stack even in instrumented builds;
  // everything else lives in helpers that return before recursing.
  Operand Primary() {
    switch (token_.kind) {
      case TokenKind::kLParen: return Parenthesized();
      case TokenKind::kIdentifier: return Name();
      default: return Literal();
    }
  }

  Operand Parenthesized() {
    Advance();
    Operand inner = Expression(kLowestPrecedence);
    ExpectClosingParenthesis();
    return inner;
  }

  Operand Literal() {
    const Token token = token_;
    switch (token.kind) {
      case TokenKind::kNumber: Advance(); return {NumberValue(token), true};
      case TokenKind::kString: Advance(); return {StringValue(token), true};
      case TokenKind::kDate: Advance(); return {Variant(vb::Date::FromSerial(token.number)), false};
      case TokenKind::kTrue:
      case TokenKind::kFalse: Advance(); return {Variant(token.kind == TokenKind::kTrue), false};
      case TokenKind::kEmpty: Advance(); return {};
      case TokenKind::kNull: Advance(); return {Variant::Null(), false};
      case TokenKind::kNothing: Advance(); return {Variant(vb::ObjectRef()), false};
      default: throw CompileError(err::kSyntaxError, TokenContext(token));
    }
  }

  static Variant NumberValue(const Token& token) {
    switch (token.number_type) {
      case NumberType::kInteger: return Variant::Integer(static_cast<int16_t>(token.number));
      case NumberType::kLong: return Variant(static_cast<int32_t>(token.number));
      case NumberType::kDouble: break;
    }
    return Variant(token.number);
  }

  static Variant StringValue(const Token& token) {
    if (!token.has_doubled_quote) return Variant(std::string(token.text));
    std::string text;
    text.reserve(token.text.size());
    for (size_t i = 0; i < token.text.size(); ++i) {
      text += token.text[i];
      if (token.text[i] == '"') ++i;  // the second of a doubled pair
    }
    return Variant(std::move(text));
  }

  void ExpectClosingParenthesis() {
    if (token_.kind != TokenKind::kRParen) {
      throw CompileError(err::kExpectedRParen, TokenContext(token_));
    }
    Advance();
  }

  // Reads "(a, b, ...)" after a name; returns how many arguments it held
  // (those beyond the array are checked for syntax and dropped) and marks
  // in `omitted` the ones left empty, as in "Mid(s, , 2)".
  size_t ArgumentList(Arguments& arguments, uint32_t& omitted) {
    Advance();  // "("
    size_t count = 0;
    omitted = 0;
    if (token_.kind != TokenKind::kRParen) {
      for (;;) {
        if (token_.kind == TokenKind::kComma || token_.kind == TokenKind::kRParen) {
          if (count < arguments.size()) omitted |= 1u << count;
        } else {
          Operand argument = Expression(kLowestPrecedence);
          if (count < arguments.size()) arguments[count] = std::move(argument.value);
        }
        ++count;
        if (token_.kind != TokenKind::kComma) break;
        Advance();
      }
    }
    ExpectClosingParenthesis();
    return count;
  }

  Operand Name() {
    const Token name = token_;
    Advance();
    Operand result;
    if (token_.kind == TokenKind::kLParen) {
      const Builtin* builtin = FindBuiltin(name.text);
      if (builtin != nullptr && builtin->max_args == kAnyArgumentCount) {
        result = VariadicCall(name, *builtin);
      } else {
        Arguments arguments;
        uint32_t omitted = 0;
        const size_t count = ArgumentList(arguments, omitted);
        result = Call(name, builtin, arguments, count, omitted);
      }
      // A call's result may be subscripted at once: Split(s, ",")(1).
      while (token_.kind == TokenKind::kLParen) Subscript(result);
    } else {
      result = Bare(name);
    }
    while (token_.kind == TokenKind::kDot) MemberAccess(name);
    return result;
  }

  // A call of Array, which takes any number of arguments: they are read
  // into a vector, checked against the budget as they come so that no
  // text can make the vector outgrow it.
  Operand VariadicCall(const Token& name, const Builtin& builtin) {
    std::vector<Variant> values;
    bool omitted = false;
    Advance();  // "("
    if (token_.kind != TokenKind::kRParen) {
      for (;;) {
        if (token_.kind == TokenKind::kComma || token_.kind == TokenKind::kRParen) {
          omitted = true;
        } else {
          Operand argument = Expression(kLowestPrecedence);
          if (active_) {
            Evaluate([&] {
              budget_.Require((values.size() + 1) * sizeof(Variant));
              values.push_back(std::move(argument.value));
              return Variant();
            });
          }
        }
        if (token_.kind != TokenKind::kComma) break;
        Advance();
      }
    }
    ExpectClosingParenthesis();
    if (!active_) return {};
    if (omitted) {
      Defer(RuntimeError(err::kArgumentNotOptional, std::string(name.text)));
      return {};
    }
    const Args args(values, 0, budget_);
    return Evaluate([&] { return builtin.function(args); });
  }

  // "(i, ...)" after a call: the element of the array it gave.
  void Subscript(Operand& target) {
    Arguments indices;
    uint32_t omitted = 0;
    const size_t count = ArgumentList(indices, omitted);
    target = Evaluate([&] { return Element(target.value, indices, count, omitted); });
  }

  // 13 when `value` is no array, 9 for an index outside its bounds or a
  // count of indices other than its dimensions'.
  static Variant Element(const Variant& value, const Arguments& indices, size_t count,
                         uint32_t omitted) {
    const vb::VariantArray* array = value.array();
    if (array == nullptr) throw RuntimeError(vb::err::kTypeMismatch, value.TypeName());
    if (omitted != 0) throw RuntimeError(err::kArgumentNotOptional);
    if (count > indices.size() || count != array->DimensionCount()) {
      throw RuntimeError(vb::err::kSubscriptOutOfRange, std::to_string(count) + " indices");
    }
    std::array<int32_t, kMaxBuiltinArguments> at{};
    for (size_t i = 0; i < count; ++i) {
      if (indices[i].IsNull()) throw RuntimeError(vb::err::kInvalidUseOfNull);
      at[i] = vb::CLng(indices[i]);
    }
    const Variant* element = array->At(std::span<const int32_t>(at.data(), count));
    if (element == nullptr) {
      throw RuntimeError(vb::err::kSubscriptOutOfRange, "index " + std::to_string(at[0]));
    }
    return *element;
  }

  // A name without parentheses: a built-in that takes no arguments (Now),
  // a constant, or else an undeclared variable, which is Empty.
  Operand Bare(const Token& name) {
    if (const Builtin* builtin = FindBuiltin(name.text)) {
      if (builtin->min_args == 0) return Call(name, builtin, Arguments(), 0, 0);
      if (active_) Defer(RuntimeError(vb::err::kWrongArgumentCount, std::string(name.text)));
      return {};
    }
    if (const Variant* constant = FindConstant(name.text)) {
      return {*constant, constant->IsNumber() || constant->IsString()};
    }
    NoteUndefined(name.text);
    return {};
  }

  void NoteUndefined(std::string_view name) {
    if (notes_ == nullptr) return;
    if (!noted_) noted_.emplace();
    if (!noted_->insert(Folded(name)).second) return;
    notes_->undefined_names.emplace_back(name);
  }

  // ".member" or ".member(arguments)": checked for syntax, but no value of
  // an expression is an object with members.
  void MemberAccess(const Token& name) {
    Advance();
    if (token_.kind != TokenKind::kIdentifier) {
      throw CompileError(err::kExpectedIdentifier, TokenContext(token_));
    }
    Advance();
    if (token_.kind == TokenKind::kLParen) {
      Arguments ignored;
      uint32_t omitted = 0;
      ArgumentList(ignored, omitted);
    }
    Defer(RuntimeError(vb::err::kObjectRequired, std::string(name.text)));
  }

  Operand Call(const Token& name, const Builtin* builtin, const Arguments& arguments, size_t count,
               uint32_t omitted) {
    if (!active_) return {};
    if (IsObjectFactory(name.text)) {
      Defer(RuntimeError(vb::err::kCantCreateObject, std::string(name.text)));
      return {};
    }
    if (builtin == nullptr) {
      // The language reports a call of an unknown name as a type mismatch.
      Defer(RuntimeError(vb::err::kTypeMismatch, std::string(name.text)));
      return {};
    }
    if (count < builtin->min_args || count > builtin->max_args) {
      Defer(RuntimeError(vb::err::kWrongArgumentCount, std::string(name.text)));
      return {};
    }
    const uint32_t required = (1u << builtin->min_args) - 1;
    if ((omitted & required) != 0) {
      Defer(RuntimeError(err::kArgumentNotOptional, std::string(name.text)));
      return {};
    }
    const Args args(std::span<const Variant>(arguments.data(), count), omitted, budget_);
    return Evaluate([&] { return builtin->function(args); });
  }

  Lexer lexer_;
  Token token_;
  int depth_ = 0;
  bool active_ = true;
  std::optional<vb::Error> pending_;
  StringBudget budget_;
  EvaluationNotes* notes_;
  // Undefined names met, folded; only for an evaluation that keeps notes.
  std::optional<std::unordered_set<std::string>> noted_;
};

}  // namespace

Variant EvaluateExpression(std::string_view expression, EvaluationNotes* notes) {
  if (expression.size() > kMaxExpressionLength) {
    throw RuntimeError(vb::err::kOutOfMemory, "expression of " + std::to_string(expression.size()) +
                                                  " characters; at most " +
                                                  std::to_string(kMaxExpressionLength));
  }
  return Evaluator(expression, notes).Run();
}

}  // namespace kvt::script
