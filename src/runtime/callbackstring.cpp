#include "runtime/callbackstring.h"

#include <cctype>

#include "core/str2num.h"
#include "runtime/registry.h"

namespace tarvolin {
namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  CallExpression parseAll() {
    CallExpression call = parseCall();
    skipBlanks();
    if (pos_ != text_.size()) fail("unexpected text");
    return call;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw RuntimeError("cannot read the callback \"" + std::string(text_) + "\" at character " +
                       std::to_string(pos_ + 1) + ": " + what);
  }

  void skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  bool take(char c) {
    skipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  CallExpression parseCall() {
    // Each nested call is one more level of this parser's recursion.
    if (++depth_ > kDeepestCall) {
      fail("calls nested more than " + std::to_string(kDeepestCall) + " deep");
    }
    struct Leave {
      int& depth;
      ~Leave() { --depth; }
    } leave{depth_};
    skipBlanks();
    CallExpression call;
    if (pos_ >= text_.size() || !std::isalpha(static_cast<unsigned char>(text_[pos_]))) {
      fail("a function name is expected");
    }
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
      call.name += text_[pos_++];
    }
    if (!take('(')) return call;
    if (take(')')) return call;
    do {
      call.arguments.push_back(parseArgument());
    } while (take(','));
    if (!take(')')) fail("a comma or a closing parenthesis is expected");
    return call;
  }

  CallArgument parseArgument() {
    skipBlanks();
    CallArgument argument;
    if (pos_ >= text_.size()) fail("an argument is expected");
    const char c = text_[pos_];
    if (c == '\'') {
      ++pos_;
      std::string literal;
      while (true) {
        if (pos_ >= text_.size()) fail("the text has no closing quote");
        if (text_[pos_] == '\'') {
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
            literal += '\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        literal += text_[pos_++];
      }
      argument.literal = Value(literal);
    } else if (c == '[') {
      ++pos_;
      if (!take(']')) fail("only the empty matrix [] is allowed");
      argument.literal = Value();
    } else if (std::isalpha(static_cast<unsigned char>(c))) {
      argument.isCall = true;
      argument.call.push_back(parseCall());
    } else {
      double number = 0;
      const size_t used = parseNumber(text_.substr(pos_), number);
      if (used == 0) fail("an argument is expected");
      pos_ += used;
      argument.literal = Value(number);
    }
    return argument;
  }

  static constexpr int kDeepestCall = 200;
  std::string_view text_;
  size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

CallExpression parsecallback(std::string_view text) { return Parser(text).parseAll(); }

}  // namespace tarvolin
