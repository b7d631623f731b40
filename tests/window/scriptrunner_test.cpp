// The runner and the short-text routines.
#include <string>

#include "shell/trigger_scripts.h"
#include "tests/window/command_fixture.h"
#include "window/scriptrunner.h"

using window_test::P;
using window_test::WindowCommands;

namespace {

std::string text_of(const unsigned char* s) {
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

TEST(Pstrconcat, StopsAt255Characters) {
  Str255 dst;
  pstrcpy(dst, P(std::string(250, 'a')));
  pstrconcat(dst, P("0123456789"));
  EXPECT_EQ(dst[0], 255);
  EXPECT_EQ(text_of(dst), std::string(250, 'a') + "01234");
  pstrconcat(dst, P("x"));
  EXPECT_EQ(dst[0], 255);
  EXPECT_EQ(dst[255], '4');
}

TEST(Pstrcpy, CopiesLengthAndCharactersOnly) {
  Str255 dst;
  std::memset(dst, 'z', sizeof dst);
  pstrcpy(dst, P(""));
  EXPECT_EQ(dst[0], 0);
  EXPECT_EQ(dst[1], 'z');
  pstrcpy(dst, P("Main"));
  EXPECT_EQ(text_of(dst), "Main");
}

TEST(Pstrconcatescaped, EscapesQuotesBackslashesAndLineBreaks) {
  Str255 dst;
  pstrcpy(dst, P("\""));
  pstrconcatescaped(dst, P("a\"b\\c\rd\ne"));
  EXPECT_EQ(text_of(dst), "\"a\\\"b\\\\c\\rd\\ne");
  // The escapes count against the limit: a pair that does not fit is cut.
  pstrcpy(dst, P(std::string(254, 'a')));
  pstrconcatescaped(dst, P("\"x"));
  EXPECT_EQ(dst[0], 255);
  EXPECT_EQ(dst[255], '\\');
}

TEST(Pstrconcatnumber, WritesAsNumToStringDoes) {
  Str255 dst;
  pstrcpy(dst, P(""));
  pstrconcatnumber(dst, 0);
  pstrconcatnumber(dst, -3);
  EXPECT_EQ(text_of(dst), "0-3");
}

TEST(CommandPattern, SplicesEachTextEscapedAndCutsAt255) {
  Str255 dst;
  pstrcpy(dst, P(""));
  AddCommandPattern(dst, "set ^2 of \"^1\" to ^3 ^ ^4^", {P("a\"b"), P("title"), P("-3")});
  EXPECT_EQ(text_of(dst), "set title of \"a\\\"b\" to -3 ^ ^4^");
  pstrcpy(dst, P(std::string(250, 'a')));
  AddCommandPattern(dst, "xy^1z", {P("1\\234")});
  EXPECT_EQ(text_of(dst), std::string(250, 'a') + "xy1\\\\");
}

TEST(PlainScriptPattern, SplicesEachTextEscapedAndRefusesWhatDoesNotFit) {
  char buffer[24];
  PlainScriptText script;
  PlainScriptBegin(&script, buffer, sizeof buffer);
  PlainScriptAppendPattern(&script, "row ^2 of \"^1\"", {"a\"b", PlainNumber(-12).text});
  EXPECT_STREQ(buffer, "row -12 of \"a\\\"b\"");
  EXPECT_FALSE(script.overflowed);
  PlainScriptAppendPattern(&script, " ^1", {"longer text"});
  EXPECT_TRUE(script.overflowed);
  EXPECT_EQ(PlainScriptRun(&script), paramErr);
}

TEST(SimpleRunAppleScript, WithoutAComponentReturnsMinus50AndDisposesEverything) {
  platform::ScopedBacking<platform::ScriptingComponentFactory> none(nullptr);
  EXPECT_EQ(SimpleRunAppleScript("tell window \"Main\"\nend tell"), -50);
  EXPECT_EQ(platform::live_descriptor_count(), 0u);
  EXPECT_EQ(platform::live_component_count(), 0u);
}

TEST_F(WindowCommands, RunnerReturnsCompileAndRunFailuresUnchanged) {
  EXPECT_EQ(SimpleRunAppleScript("tell window \"Main\"\nset visible of button \"x\" to"),
            errOSASyntaxTypeError);
  EXPECT_EQ(SimpleRunAppleScript("tell window \"Main\"\nstate of button \"nope\"\nend tell"),
            errAENoSuchObject);
  EXPECT_EQ(SimpleRunAppleScript("set x to y"), errOSAVariableNotDefined);
  EXPECT_EQ(SimpleRunAppleScript("log 1 + 2"), noErr);
  EXPECT_EQ(logged, std::vector<std::string>{"3"});
}

TEST_F(WindowCommands, RunnerDisposesOfAResultValue) {
  // A script with a value leaves a result id, which the runner disposes of
  // (the fixture checks that none is left).
  EXPECT_EQ(SimpleRunAppleScript("{1, 2}"), noErr);
}

TEST_F(WindowCommands, RunnerDecodesMacRomanText) {
  EXPECT_EQ(SimpleRunAppleScript("log \"Other\xC9\""), noErr);
  EXPECT_EQ(logged, std::vector<std::string>{"Other…"});
}

TEST_F(WindowCommands, TriggerScriptsWidenThenNarrowByOnePoint) {
  EXPECT_EQ(std::strlen(kWidenTriggerScript), 136u);
  EXPECT_EQ(SimpleRunAppleScript(kWidenTriggerScript), noErr);
  EXPECT_EQ(w.trigger->bounds(), (scriptkit::model::Bounds{10, 10, 21, 30}));
  EXPECT_EQ(SimpleRunAppleScript(kNarrowTriggerScript), noErr);
  EXPECT_EQ(w.trigger->bounds(), (scriptkit::model::Bounds{10, 10, 20, 30}));
}

TEST_F(WindowCommands, TriggerScriptWithoutItsButtonFailsAndChangesNothing) {
  w.main->set_name("Other");
  changes = 0;
  EXPECT_EQ(SimpleRunAppleScript(kWidenTriggerScript), errAENoSuchObject);
  EXPECT_EQ(changes, 0);
}

}  // namespace
