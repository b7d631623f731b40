// The script runner and the short-text routines of the window commands.
#include "window/scriptrunner.h"

#include <cstring>

#include "platform/aedesc.h"
#include "platform/osa.h"

OSStatus SimpleRunAppleScript(const char* text) {
  // 1. Measure the text up to its NUL.
  Size length = static_cast<Size>(std::strlen(text));
  // 2. A null descriptor; no script and no result yet.
  AEDesc scriptDesc;
  AEInitializeDesc(&scriptDesc);
  OSAID scriptID = kOSANullScript;
  OSAID resultID = kOSANullScript;
  OSStatus status = noErr;
  // 3. The default scripting component.
  ComponentInstance component = OpenDefaultComponent(kOSAComponentType, kAppleScriptSubtype);
  if (component == nullptr) {
    status = paramErr;
  } else {
    // 4. The text descriptor, 5. compile, 6. run; each only after the last succeeded.
    status = AECreateDesc(typeChar, text, length, &scriptDesc);
    if (status == noErr) status = OSACompile(component, &scriptDesc, kOSAModeNull, &scriptID);
    if (status == noErr) {
      status = OSAExecute(component, scriptID, kOSANullScript, kOSAModeNull, &resultID);
    }
  }
  // 7. Clean up, always, in this order.
  AEDisposeDesc(&scriptDesc);
  if (scriptID != kOSANullScript) OSADispose(component, scriptID);
  if (resultID != kOSANullScript) OSADispose(component, resultID);
  if (component != nullptr) CloseComponent(component);
  return status;
}

void pstrcpy(Str255 dst, ConstStr255Param src) {
  BlockMove(src, dst, src[0] + 1);
}

void pstrconcat(Str255 dst, ConstStr255Param src) {
  int count = src[0];
  if (dst[0] + count > 255) count = 255 - dst[0];
  if (count <= 0) return;
  BlockMove(src + 1, dst + 1 + dst[0], count);
  dst[0] = static_cast<unsigned char>(dst[0] + count);
}

void pstrappend(Str255 dst, const char* src) {
  Str255 piece;
  CopyCStringToPascal(src, piece);
  pstrconcat(dst, piece);
}

const char* ScriptEscape(unsigned char c) {
  switch (c) {
    case '"':
      return "\\\"";
    case '\\':
      return "\\\\";
    case '\r':
      return "\\r";
    case '\n':
      return "\\n";
    default:
      return nullptr;
  }
}

void pstrconcatescaped(Str255 dst, ConstStr255Param src) {
  for (int i = 1; i <= src[0] && dst[0] < 255; ++i) {
    const char* escape = ScriptEscape(src[i]);
    if (escape) {
      pstrappend(dst, escape);
    } else {
      dst[++dst[0]] = src[i];
    }
  }
}

void pstrconcatnumber(Str255 dst, long number) {
  Str255 digits;
  NumToString(number, digits);
  pstrconcat(dst, digits);
}

void BeginWindowCommand(Str255 script, ConstStr255Param window, ConstStr255Param box) {
  script[0] = 0;
  pstrappend(script, "tell window \"");
  pstrconcatescaped(script, window);
  pstrappend(script, "\"\n");
  if (box != nullptr) {
    pstrappend(script, "tell box \"");
    pstrconcatescaped(script, box);
    pstrappend(script, "\"\n");
  }
}

OSStatus RunWindowCommand(Str255 script, bool inBox) {
  if (inBox) pstrappend(script, "end tell\n");
  pstrappend(script, "end tell");
  char* text = reinterpret_cast<char*>(script);
  p2cstrcpy(text, script);
  return SimpleRunAppleScript(text);
}

namespace {

// The text that a placeholder ^1 to ^9 at `at` stands for, or nullptr when
// `at` holds none of them.
template <typename Text>
const Text* PlaceholderText(const char* at, std::initializer_list<Text> texts) {
  if (at[0] != '^' || at[1] < '1' || at[1] > '9') return nullptr;
  std::size_t index = static_cast<std::size_t>(at[1] - '1');
  return index < texts.size() ? texts.begin() + index : nullptr;
}

}  // namespace

void AddCommandPattern(Str255 script, const char* pattern,
                       std::initializer_list<ConstStr255Param> texts) {
  for (const char* c = pattern; *c != '\0'; ++c) {
    if (const ConstStr255Param* text = PlaceholderText(c, texts)) {
      pstrconcatescaped(script, *text);
      ++c;
    } else if (script[0] < 255) {
      script[++script[0]] = static_cast<unsigned char>(*c);
    }
  }
}

OSStatus RunWindowPattern(ConstStr255Param window, ConstStr255Param box, const char* pattern,
                          std::initializer_list<ConstStr255Param> texts) {
  Str255 script;
  BeginWindowCommand(script, window, box);
  AddCommandPattern(script, pattern, texts);
  return RunWindowCommand(script, box != nullptr);
}

void PlainScriptBegin(PlainScriptText* script, char* buffer, Size capacity) {
  script->text = buffer;
  script->capacity = capacity;
  script->length = 0;
  script->overflowed = capacity <= 0;
  if (capacity > 0) buffer[0] = '\0';
}

namespace {

// Appends `count` bytes and the NUL behind them, or refuses them all.
void PlainScriptAppendBytes(PlainScriptText* script, const char* bytes, Size count) {
  if (script->overflowed || script->length + count + 1 > script->capacity) {
    script->overflowed = true;
    return;
  }
  BlockMove(bytes, script->text + script->length, count);
  script->length += count;
  script->text[script->length] = '\0';
}

}  // namespace

void PlainScriptAppend(PlainScriptText* script, const char* piece) {
  PlainScriptAppendBytes(script, piece, static_cast<Size>(std::strlen(piece)));
}

void PlainScriptAppendEscaped(PlainScriptText* script, const char* name) {
  char one[2] = {0, 0};
  for (const char* c = name; *c != '\0' && !script->overflowed; ++c) {
    const char* escape = ScriptEscape(static_cast<unsigned char>(*c));
    one[0] = *c;
    PlainScriptAppend(script, escape ? escape : one);
  }
}

void PlainScriptAppendPattern(PlainScriptText* script, const char* pattern,
                              std::initializer_list<const char*> texts) {
  // The text between two placeholders goes in as one piece.
  const char* run = pattern;
  const char* c = pattern;
  while (*c != '\0') {
    const char* const* text = PlaceholderText(c, texts);
    if (text == nullptr) {
      ++c;
      continue;
    }
    PlainScriptAppendBytes(script, run, c - run);
    PlainScriptAppendEscaped(script, *text);
    c += 2;
    run = c;
  }
  PlainScriptAppendBytes(script, run, c - run);
}

PlainNumber::PlainNumber(long number) {
  Str255 digits;
  NumToString(number, digits);
  p2cstrcpy(text, digits);
}

OSStatus PlainScriptRun(PlainScriptText* script) {
  if (script->overflowed) return paramErr;
  return SimpleRunAppleScript(script->text);
}
