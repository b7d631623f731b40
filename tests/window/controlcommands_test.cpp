// The control, progress and pop-up commands, run through the real runner and
// component against the sample window.
#include <string>

#include "tests/window/command_fixture.h"
#include "window/controlcommands.h"

using window_test::P;
using window_test::WindowCommands;

namespace {

const P kMain("Main");
const P kPopUp("MAINWAP_ITEM_OPENWITHPOPUP");
const P kCheck("MAINWAP_ITEM_ALWAYSOPENWITH");

TEST_F(WindowCommands, CheckBoxCommandRunsTheDocumentedText) {
  EXPECT_EQ(SetCheckButtonState(kCheck, kMain, true), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\nset state of button \"MAINWAP_ITEM_ALWAYSOPENWITH\" to 1\n"
            "end tell");
  EXPECT_EQ(w.always->state(), 1);
  EXPECT_EQ(SetCheckButtonState(kCheck, kMain, false), noErr);
  EXPECT_EQ(w.always->state(), 0);
  EXPECT_EQ(SetCheckButtonState(kCheck, kMain, 2), noErr);
  EXPECT_NE(texts.back().find(" to 1\n"), std::string::npos);
  EXPECT_EQ(w.always->state(), 1);
}

TEST_F(WindowCommands, AddsRowsAndSeparatorsInCallOrder) {
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P("Preview"), 0), noErr);
  EXPECT_EQ(AddSeparatorRow(kPopUp, kMain), noErr);
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P("GIMP"), 0), noErr);
  EXPECT_EQ(AddSeparatorRow(kPopUp, kMain), noErr);
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P("Other\xC9"), 0), noErr);
  EXPECT_EQ(titles(), (std::vector<std::string>{"Preview", "-", "GIMP", "-", "Other…"}));
  EXPECT_TRUE(w.open_with->menu()->item(4)->enabled());
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\nmake new menu item at the end of menu items of menu of popup "
            "button \"MAINWAP_ITEM_OPENWITHPOPUP\" with properties {title:\"Other\xC9\", "
            "enabled:true}\nend tell");
  EXPECT_EQ(texts[1],
            "tell window \"Main\"\nset theMenu to popup button \"MAINWAP_ITEM_OPENWITHPOPUP\"\n"
            "call method \"createSeparatorItem:\" of class \"VeskaClass\" with parameters "
            "{theMenu}\nend tell");
}

TEST_F(WindowCommands, AnyNonZeroAtBeginningAddsTheRowFirst) {
  AddRowToPopUpWithText(kPopUp, kMain, P("B"), 0);
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P("A"), 1), noErr);
  EXPECT_NE(texts.back().find("at the beginning of menu items"), std::string::npos);
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P("Z"), -1), noErr);
  EXPECT_EQ(titles(), (std::vector<std::string>{"Z", "A", "B"}));
}

TEST_F(WindowCommands, ATitleTooLongForTheCommandEndsInAnEllipsis) {
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P(std::string(90, 't')), 0), noErr);
  EXPECT_EQ(texts.back().size(), 255u);
  EXPECT_EQ(titles().back(), std::string(90, 't'));
  // Every longer title still adds its row, cut just enough to fit.
  for (int length : {91, 92, 98, 120, 255}) {
    EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P(std::string(length, 't')), 0), noErr);
    EXPECT_EQ(texts.back().size(), 255u) << length;
    EXPECT_EQ(titles().back(), std::string(89, 't') + "…") << length;
  }
  EXPECT_EQ(titles().size(), 6u);
  // In a box the command has one "end tell" more, and the title less room.
  EXPECT_EQ(AddRowToPopUpInBoxWithText(kPopUp, kMain, P("b"), P(std::string(120, 't')), 0),
            errAENoSuchObject);
  EXPECT_EQ(texts.back().size(), 255u);
  EXPECT_EQ(texts.back().substr(texts.back().size() - 19), "}\nend tell\nend tell");
}

TEST_F(WindowCommands, EscapesCountAgainstTheLimitAndAreNeverSplit) {
  // 45 quotes take 90 characters once escaped: the text is full, still whole.
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P(std::string(45, '"')), 0), noErr);
  EXPECT_EQ(titles().back(), std::string(45, '"'));
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P(std::string(46, '"')), 0), noErr);
  EXPECT_EQ(titles().back(), std::string(44, '"') + "…");
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P("a" + std::string(45, '\\')), 0), noErr);
  EXPECT_EQ(titles().back(), "a" + std::string(44, '\\') + "…");
}

TEST_F(WindowCommands, HostileNamesShowUpAsPlainText) {
  // Unescaped, this title would close the row and show the hidden button.
  std::string hostile = "x\"}\nset visible of control \"Trigger\" to true\n--";
  EXPECT_EQ(AddRowToPopUpWithText(kPopUp, kMain, P(hostile), 0), noErr);
  EXPECT_EQ(titles(), std::vector<std::string>{hostile});
  EXPECT_FALSE(w.trigger->visible());
  std::string text = "say \\\"hi\\\"\r\nnext line";
  EXPECT_EQ(SetTextField(P("size"), kMain, P(text)), noErr);
  EXPECT_EQ(w.size->contents(), text);
  // A hostile window name addresses no window at all.
  EXPECT_EQ(SetTextField(P("size"), P("Main\"\nset x to \""), P("1")), errAENoSuchObject);
}

TEST_F(WindowCommands, PopUpSelectionCountsRowsFromOne) {
  for (const char* t : {"A", "B", "C"}) AddRowToPopUpWithText(kPopUp, kMain, P(t), 0);
  EXPECT_EQ(SetPopUpSelection(kPopUp, kMain, 2), noErr);
  EXPECT_EQ(w.open_with->current_index(), 3u);
  EXPECT_EQ(SetPopUpSelection(kPopUp, kMain, 0), noErr);
  EXPECT_NE(texts.back().find("to menu item 1 of menu of popup button"), std::string::npos);
  EXPECT_EQ(w.open_with->current_index(), 1u);
  changes = 0;
  EXPECT_EQ(SetPopUpSelection(kPopUp, kMain, -1), errAENoSuchObject);
  EXPECT_NE(texts.back().find("to menu item 0 of menu"), std::string::npos);
  EXPECT_EQ(w.open_with->current_index(), 1u);
  EXPECT_EQ(changes, 0);
  // The index is summed in 16 bits: 32767 + 1 is -32768, the row from the end.
  EXPECT_EQ(SetPopUpSelection(kPopUp, kMain, 32767), errAENoSuchObject);
  EXPECT_NE(texts.back().find("menu item -32768 of"), std::string::npos);
}

TEST_F(WindowCommands, EnablesAndDisablesSingleRows) {
  for (const char* t : {"A", "B"}) AddRowToPopUpWithText(kPopUp, kMain, P(t), 0);
  EXPECT_EQ(SetPopUpRowEnabled(kPopUp, kMain, 1, false), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\nset enabled of menu item 2 of menu of popup button "
            "\"MAINWAP_ITEM_OPENWITHPOPUP\" to false\nend tell");
  EXPECT_FALSE(w.open_with->menu()->item(1)->enabled());
  EXPECT_TRUE(w.open_with->menu()->item(0)->enabled());
  EXPECT_EQ(SetPopUpRowEnabled(kPopUp, kMain, 1, 7), noErr);
  EXPECT_TRUE(w.open_with->menu()->item(1)->enabled());
}

TEST_F(WindowCommands, EmptyingRemovesRowsAndSeparators) {
  AddRowToPopUpWithText(kPopUp, kMain, P("A"), 0);
  AddSeparatorRow(kPopUp, kMain);
  EXPECT_EQ(MyEmptyPopUp(kPopUp, kMain), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\ndelete every menu item of menu of popup button "
            "\"MAINWAP_ITEM_OPENWITHPOPUP\"\nend tell");
  EXPECT_TRUE(titles().empty());
  EXPECT_EQ(w.open_with->current_item(), nullptr);
  EXPECT_EQ(MyEmptyPopUp(kPopUp, kMain), noErr);  // an empty menu stays empty
}

TEST_F(WindowCommands, DisableShowsAHiddenControlDisabled) {
  ASSERT_FALSE(w.trigger->visible());
  EXPECT_EQ(Disable1Control(P("Trigger"), kMain), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\nset visible of control \"Trigger\" to true\n"
            "set enabled of control \"Trigger\" to false\nend tell");
  EXPECT_TRUE(w.trigger->visible());
  EXPECT_FALSE(w.trigger->enabled());
  EXPECT_EQ(Enable1Control(P("Trigger"), kMain), noErr);
  EXPECT_TRUE(w.trigger->enabled());
  EXPECT_EQ(Hide1Control(P("Trigger"), kMain), noErr);
  EXPECT_FALSE(w.trigger->visible());
  EXPECT_TRUE(w.trigger->enabled());
}

TEST_F(WindowCommands, BoxFormsReachIntoTheBox) {
  const P box("info");
  EXPECT_EQ(SetTextFieldInBoxText(P("name"), kMain, box, P("a.tif")), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\ntell box \"info\"\nset contents of text field \"name\" to "
            "\"a.tif\"\nend tell\nend tell");
  EXPECT_EQ(w.info_name->contents(), "a.tif");
  EXPECT_EQ(SetCheckButtonInBoxState(P("keep"), kMain, box, true), noErr);
  EXPECT_EQ(w.info_check->state(), 1);
  EXPECT_EQ(Disable1ControlInBox(P("keep"), kMain, box), noErr);
  EXPECT_FALSE(w.info_check->enabled());
  EXPECT_EQ(Enable1ControlInBox(P("keep"), kMain, box), noErr);
  EXPECT_EQ(Hide1ControlInBox(P("keep"), kMain, box), noErr);
  EXPECT_FALSE(w.info_check->visible());
  EXPECT_TRUE(w.info_check->enabled());
  EXPECT_EQ(SetPopUpInBoxSelection(P("units"), kMain, box, 1), noErr);
  EXPECT_EQ(w.units->current_item()->title(), "Inches");
  EXPECT_EQ(DisableAllPopUpInBoxRows(P("units"), kMain, box), noErr);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(w.units->menu()->item(i)->enabled());
  EXPECT_EQ(AddRowToPopUpInBoxWithText(P("units"), kMain, box, P("Points"), 1), noErr);
  EXPECT_EQ(w.units->menu()->item(0)->title(), "Points");
  EXPECT_EQ(MyEmptyPopUpInBox(P("units"), kMain, box), noErr);
  EXPECT_EQ(w.units->menu()->item_count(), 0u);
}

TEST_F(WindowCommands, BoxFormsDoNotReachOutOfTheBox) {
  EXPECT_EQ(SetTextFieldInBoxText(P("size"), kMain, P("info"), P("x")), errAENoSuchObject);
  EXPECT_EQ(w.size->contents(), "");
  EXPECT_EQ(Hide1ControlInBox(P("busy"), kMain, P("info")), errAENoSuchObject);
  EXPECT_TRUE(w.busy->visible());
}

TEST_F(WindowCommands, EmptyBoxNameWritesEmptyQuotesAndFindsNothing) {
  changes = 0;
  EXPECT_EQ(SetTextFieldInBoxText(P("name"), kMain, P(""), P("x")), errAENoSuchObject);
  EXPECT_EQ(texts.back().substr(0, 31), "tell window \"Main\"\ntell box \"\"\n");
  EXPECT_EQ(changes, 0);
}

TEST_F(WindowCommands, UnknownNamesFailAtRunAndChangeNothing) {
  changes = 0;
  EXPECT_EQ(Enable1Control(P("nope"), kMain), errAENoSuchObject);
  EXPECT_EQ(SetCheckButtonState(kCheck, P("Elsewhere"), true), errAENoSuchObject);
  EXPECT_EQ(AddRowToPopUpWithText(P("nope"), kMain, P("A"), 0), errAENoSuchObject);
  EXPECT_EQ(SetTextField(P("MAINWAP_ITEM_ALWAYSOPENWITH"), kMain, P("A")), errAENoSuchObject);
  EXPECT_EQ(changes, 0);
}

TEST_F(WindowCommands, ProgressIndicatorCommands) {
  std::vector<scriptkit::model::ChangeKind> kinds;
  w.app->observe([&](const scriptkit::model::Change& c) { kinds.push_back(c.kind); });
  EXPECT_EQ(HideProgressIndicator(P("busy"), kMain), noErr);
  EXPECT_FALSE(w.busy->visible());
  w.busy->set_enabled(false);
  EXPECT_EQ(EnableProgressIndicator(P("busy"), kMain), noErr);
  EXPECT_TRUE(w.busy->visible());
  EXPECT_TRUE(w.busy->enabled());
  kinds.clear();
  EXPECT_EQ(StartChasingArrows(P("busy"), kMain), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\ntell progress indicator \"busy\"\nstart\nend tell\nupdate\n"
            "end tell");
  EXPECT_TRUE(w.busy->animating());
  EXPECT_EQ(kinds.back(), scriptkit::model::ChangeKind::Update);
  EXPECT_EQ(StopChasingArrows(P("busy"), kMain), noErr);
  EXPECT_FALSE(w.busy->animating());
  EXPECT_TRUE(w.busy->visible());
}

}  // namespace
