// The scripting component: compiling and running script text. The framework
// installs its AppleScript component at start-up (platform/backings.h); with
// none installed, OpenDefaultComponent finds nothing. Script text arrives as
// Mac Roman bytes in a 'TEXT' descriptor.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/aedesc.h"
#include "platform/backings.h"
#include "platform/types.h"

using OSAID = UInt32;
using OSAError = OSStatus;
enum : OSAID { kOSANullScript = 0 };
enum : SInt32 { kOSAModeNull = 0 };
enum : OSType {
  kOSAComponentType = FOUR_CHAR_CODE("osa "),
  kAppleScriptSubtype = FOUR_CHAR_CODE("ascr"),
};

struct ComponentRecord;
using ComponentInstance = ComponentRecord*;

// An instance of the component, or nullptr when none of that type is installed
// (the one type there is: kOSAComponentType, kAppleScriptSubtype).
ComponentInstance OpenDefaultComponent(OSType componentType, OSType componentSubType);
OSErr CloseComponent(ComponentInstance instance);
// Compiles the text of a 'TEXT' descriptor; on success stores a new script id.
OSAError OSACompile(ComponentInstance instance, const AEDesc* sourceData, SInt32 modeFlags,
                    OSAID* compiledScriptID);
// Runs a compiled script; on success stores the id of its result value.
OSAError OSAExecute(ComponentInstance instance, OSAID compiledScriptID, OSAID contextID,
                    SInt32 modeFlags, OSAID* resultingScriptValueID);
OSAError OSADispose(ComponentInstance instance, OSAID scriptID);

namespace platform {

// What the framework implements. Ids are the component's own, never 0.
class ScriptingComponent {
 public:
  virtual ~ScriptingComponent() = default;
  virtual OSErr compile(std::string_view mac_roman_text, OSAID* id) = 0;
  virtual OSErr execute(OSAID script, OSAID* result) = 0;
  virtual OSErr dispose(OSAID id) = 0;
  // The message of the last failed compile or run, for the log.
  virtual std::string last_error_message() const = 0;
};

// What the framework installs: a new instance of its AppleScript component
// for each OpenDefaultComponent. It may give nullptr (no instance).
class ScriptingComponentFactory {
 public:
  virtual ~ScriptingComponentFactory() = default;
  virtual std::unique_ptr<ScriptingComponent> make_component() = 0;
};

// Open component instances, and compiled scripts and values not yet disposed of.
std::size_t live_component_count();
std::size_t live_script_id_count();

}  // namespace platform
