// Running script text against the window, and the short-text routines every
// window command is built with.
//
// A window command is one short text (at most 255 characters) that reads:
//   tell window "<window>"
//   tell box "<box>"          (box commands only)
//   <the command's lines, each ended by a line feed>
//   end tell                  (box commands only)
//   end tell                  (no line feed)
// Names and texts are spliced between double quotes with `"`, `\` and line
// breaks escaped (\", \\, \r, \n), so that no name can end the text or a line
// early; the escapes count against the 255 characters. A text cut at 255
// characters does not compile, and the command then changes nothing.
#pragma once

#include <initializer_list>

#include "platform/types.h"

// Compiles and runs a NUL-ended Mac Roman script text with the default
// scripting component ('osa ', 'ascr') and throws its result away. Returns 0,
// -50 when no scripting component opens, or the status of making the text
// descriptor, of compiling or of running. Everything it creates is disposed
// of before it returns, on every path.
OSStatus SimpleRunAppleScript(const char* text);

// Copies a short text: its length byte and its characters.
void pstrcpy(Str255 dst, ConstStr255Param src);
// Appends a short text, as much of it as keeps dst at 255 characters.
void pstrconcat(Str255 dst, ConstStr255Param src);
// Appends a NUL-ended text, as much of it as keeps dst at 255 characters.
void pstrappend(Str255 dst, const char* src);
// Appends a short text with `"`, `\`, CR and LF written as \", \\, \r and \n,
// as much of the escaped text as keeps dst at 255 characters.
void pstrconcatescaped(Str255 dst, ConstStr255Param src);
// The escape that stands for a character in a script's quoted text ("\\\"",
// "\\\\", "\\r", "\\n"), or nullptr when the character stands for itself.
const char* ScriptEscape(unsigned char c);
// Appends a number as NumToString writes it.
void pstrconcatnumber(Str255 dst, long number);

// Starts a window command in `script`: `tell window "<window>"` and, when
// `box` is not null, `tell box "<box>"`, each with its line feed.
void BeginWindowCommand(Str255 script, ConstStr255Param window, ConstStr255Param box);
// Ends the command (`end tell` for the box, then `end tell`), turns it into
// NUL-ended text in place and runs it. Returns SimpleRunAppleScript's status.
OSStatus RunWindowCommand(Str255 script, bool inBox);

// Appends a command's text: `pattern` as it is, but for each ^1 to ^9, which
// stands for that short text of `texts` escaped as pstrconcatescaped escapes
// it (the pattern writes the quotes around it). Cut at 255 characters like
// every append.
void AddCommandPattern(Str255 script, const char* pattern,
                       std::initializer_list<ConstStr255Param> texts);
// A whole window command whose body is the pattern: BeginWindowCommand,
// AddCommandPattern, RunWindowCommand.
OSStatus RunWindowPattern(ConstStr255Param window, ConstStr255Param box, const char* pattern,
                          std::initializer_list<ConstStr255Param> texts);

// A plain NUL-ended text being built in a caller's buffer of `capacity`
// bytes. Appending past the buffer is refused (and remembered), never cut.
struct PlainScriptText {
  char* text;
  Size capacity;
  Size length;
  bool overflowed;
};
void PlainScriptBegin(PlainScriptText* script, char* buffer, Size capacity);
void PlainScriptAppend(PlainScriptText* script, const char* piece);
// Appends a NUL-ended name with the same escapes as pstrconcatescaped.
void PlainScriptAppendEscaped(PlainScriptText* script, const char* name);
// Appends `pattern` as AddCommandPattern does, each ^1 to ^9 standing for
// that NUL-ended text of `texts`, escaped as PlainScriptAppendEscaped does.
void PlainScriptAppendPattern(PlainScriptText* script, const char* pattern,
                              std::initializer_list<const char*> texts);
// A number as NumToString writes it, as a NUL-ended text.
struct PlainNumber {
  explicit PlainNumber(long number);
  char text[256];
};
// Runs the text; when it did not fit its buffer, runs nothing and returns
// paramErr.
OSStatus PlainScriptRun(PlainScriptText* script);
