// The two fixed scripts that nudge the width of the button "Trigger" in the
// window "Main" by one point, 136 characters each, lines ended by line feeds
// and the last line by nothing. The window script watches that button's
// bounds: a change is the news of a counted double-click.
#pragma once

inline constexpr char kWidenTriggerScript[] =
    "tell window \"Main\"\n"
    "set a to bounds of button \"Trigger\"\n"
    "set item 3 of a to (item 3 of a) + 1\n"
    "set bounds of button \"Trigger\" to a\n"
    "end tell";

inline constexpr char kNarrowTriggerScript[] =
    "tell window \"Main\"\n"
    "set a to bounds of button \"Trigger\"\n"
    "set item 3 of a to (item 3 of a) - 1\n"
    "set bounds of button \"Trigger\" to a\n"
    "end tell";

static_assert(sizeof kWidenTriggerScript - 1 == 136);
static_assert(sizeof kNarrowTriggerScript - 1 == 136);
