// FIXME: a plain runner, weak so that the script runner's own definition
// replaces it.
#include <cstring>

#include "platform/aedesc.h"
#include "platform/osa.h"
#include "window/runner.h"

__attribute__((weak)) SInt32 SimpleRunAppleScript(const char* text) {
  AEDesc source;
  AEInitializeDesc(&source);
  OSAID script = kOSANullScript;
  OSAID result = kOSANullScript;
  ComponentInstance component = OpenDefaultComponent(kOSAComponentType, kAppleScriptSubtype);
  SInt32 status = paramErr;
  if (component) {
    status = AECreateDesc(typeChar, text, static_cast<Size>(std::strlen(text)), &source);
    if (status == noErr) status = OSACompile(component, &source, kOSAModeNull, &script);
    if (status == noErr)
      status = OSAExecute(component, script, kOSANullScript, kOSAModeNull, &result);
  }
  AEDisposeDesc(&source);
  if (script != kOSANullScript) OSADispose(component, script);
  if (result != kOSANullScript) OSADispose(component, result);
  if (component) CloseComponent(component);
  return status;
}
