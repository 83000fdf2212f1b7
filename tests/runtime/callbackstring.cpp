#include "runtime/callbackstring.h"

#include "document/actioncallback.h"
#include "runtime/registry.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

TEST(Parsecallback, NameWithTextNumberEmptyAndNestedCalls) {
  const CallExpression c = parsecallback("Tarvolin('pushbutton3_Callback',gcbo,[],guidata(gcbo))");
  EXPECT_EQ(c.name, "Tarvolin");
  ASSERT_EQ(c.arguments.size(), 4u);
  EXPECT_EQ(c.arguments[0].literal, Value("pushbutton3_Callback"));
  ASSERT_TRUE(c.arguments[1].isCall);
  EXPECT_EQ(c.arguments[1].call.front().name, "gcbo");
  EXPECT_FALSE(c.arguments[2].isCall);
  EXPECT_TRUE(c.arguments[2].literal.isEmpty());
  ASSERT_TRUE(c.arguments[3].isCall);
  EXPECT_EQ(c.arguments[3].call.front().name, "guidata");
  EXPECT_EQ(c.arguments[3].call.front().arguments.front().call.front().name, "gcbo");

  const CallExpression spaced = parsecallback(" movegui ( 'north' , -10.5 , 'it''s' ) ");
  EXPECT_EQ(spaced.name, "movegui");
  EXPECT_EQ(spaced.arguments[1].literal, Value(-10.5));
  EXPECT_EQ(spaced.arguments[2].literal, Value("it's"));
  EXPECT_TRUE(parsecallback("gcbf").arguments.empty());
  EXPECT_TRUE(parsecallback("clf()").arguments.empty());

  // What the windows' controls are given reads back as the action it runs.
  for (const char* action : {"CheckSelect", "it's", "''", ""}) {
    const std::string callback = actioncallback("stand3sw", action);
    const CallExpression back = parsecallback(callback);
    EXPECT_EQ(back.name, "stand3sw") << callback;
    ASSERT_EQ(back.arguments.size(), 1u) << callback;
    EXPECT_EQ(back.arguments[0].literal, Value(action)) << callback;
  }
  EXPECT_EQ(actioncallback("standsw", "ShapeChange"), "standsw('ShapeChange')");
}

TEST(Parsecallback, RefusesAnythingElseNamingThePosition) {
  EXPECT_THROW_MSG(parsecallback("stand3sw('LoadData'"), RuntimeError, "at character 20");
  EXPECT_THROW_MSG(parsecallback("stand3sw('LoadData)"), RuntimeError, "no closing quote");
  EXPECT_THROW_MSG(parsecallback("x = 1"), RuntimeError, "unexpected text");
  EXPECT_THROW_MSG(parsecallback("f([1 2])"), RuntimeError, "only the empty matrix");
  EXPECT_THROW_MSG(parsecallback(""), RuntimeError, "a function name is expected");
  EXPECT_THROW_MSG(parsecallback("f(1,)"), RuntimeError, "an argument is expected");
  // Deep nesting ends with a message, not by running out of stack.
  std::string deep;
  for (int i = 0; i < 40000; ++i) deep += "f(";
  EXPECT_THROW_MSG(parsecallback(deep), RuntimeError, "calls nested more than 200 deep");
  std::string fine;
  for (int i = 0; i < 200; ++i) fine += "f(";
  EXPECT_NO_THROW(parsecallback(fine + std::string(200, ')')));
}

}  // namespace
}  // namespace tarvolin
