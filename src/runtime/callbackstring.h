#pragma once
// The call that a control's callback string makes, such as
//   stand3sw('LoadData')
//   Tarvolin('pushbutton3_Callback',gcbo,[],guidata(gcbo))
//
// The form: a name, optionally followed by arguments in parentheses,
// separated by commas. An argument is a text in single quotes ('' stands for
// one quote), a number, the empty matrix [], or another call of this form
// (gcbo and gcbf name the object and window whose callback is running).
// Nothing else: no operators, no variables.
//
// parsecallback(text) returns the call, or throws RuntimeError naming the
// position of what it cannot read; calls nested more than 200 deep are
// refused so.
//
// Example:
//   CallExpression c = parsecallback("stand3sw('LoadData')");
//   // c.name == "stand3sw", c.arguments[0].literal == Value("LoadData")

#include <string>
#include <string_view>
#include <vector>

#include "document/value.h"

namespace tarvolin {

struct CallExpression;

struct CallArgument {
  bool isCall = false;
  Value literal;                     // when not a call
  std::vector<CallExpression> call;  // one element when a call
};

struct CallExpression {
  std::string name;
  std::vector<CallArgument> arguments;
};

CallExpression parsecallback(std::string_view text);

}  // namespace tarvolin
