#include "platform/osa.h"

#include <map>
#include <set>
#include <utility>

struct ComponentRecord {
  std::unique_ptr<platform::ScriptingComponent> component;
  std::set<OSAID> ids;
};

namespace platform {
namespace {

ScriptingComponentFactory* s_factory = nullptr;

std::map<ComponentRecord*, std::unique_ptr<ComponentRecord>>& instances() {
  static std::map<ComponentRecord*, std::unique_ptr<ComponentRecord>> table;
  return table;
}

ComponentRecord* valid(ComponentInstance instance) {
  auto it = instances().find(instance);
  return it == instances().end() ? nullptr : it->second.get();
}

}  // namespace

ScriptingComponentFactory* install_backing(ScriptingComponentFactory* backing) {
  return std::exchange(s_factory, backing);
}

std::size_t live_component_count() {
  return instances().size();
}

std::size_t live_script_id_count() {
  std::size_t count = 0;
  for (const auto& entry : instances()) count += entry.second->ids.size();
  return count;
}

}  // namespace platform

ComponentInstance OpenDefaultComponent(OSType componentType, OSType componentSubType) {
  if (componentType != kOSAComponentType || componentSubType != kAppleScriptSubtype) return nullptr;
  if (platform::s_factory == nullptr) return nullptr;
  auto record = std::make_unique<ComponentRecord>();
  record->component = platform::s_factory->make_component();
  if (!record->component) return nullptr;
  ComponentRecord* raw = record.get();
  platform::instances().emplace(raw, std::move(record));
  return raw;
}

OSErr CloseComponent(ComponentInstance instance) {
  if (!platform::valid(instance)) return badComponentInstance;
  platform::instances().erase(instance);
  return noErr;
}

OSAError OSACompile(ComponentInstance instance, const AEDesc* sourceData, SInt32 /*modeFlags*/,
                    OSAID* compiledScriptID) {
  ComponentRecord* record = platform::valid(instance);
  if (!record) return badComponentInstance;
  platform::DescData* data = sourceData ? platform::descriptor_data(*sourceData) : nullptr;
  if (!data || sourceData->descriptorType != typeChar) return errAEWrongDataType;
  std::string_view text(reinterpret_cast<const char*>(data->bytes.data()), data->bytes.size());
  OSAID id = kOSANullScript;
  OSErr status = record->component->compile(text, &id);
  if (status == noErr) {
    record->ids.insert(id);
    *compiledScriptID = id;
  }
  return status;
}

OSAError OSAExecute(ComponentInstance instance, OSAID compiledScriptID, OSAID /*contextID*/,
                    SInt32 /*modeFlags*/, OSAID* resultingScriptValueID) {
  ComponentRecord* record = platform::valid(instance);
  if (!record) return badComponentInstance;
  if (!record->ids.count(compiledScriptID)) return errOSAInvalidID;
  OSAID result = kOSANullScript;
  OSErr status = record->component->execute(compiledScriptID, &result);
  if (status == noErr && result != kOSANullScript) {
    record->ids.insert(result);
    if (resultingScriptValueID) *resultingScriptValueID = result;
  }
  return status;
}

OSAError OSADispose(ComponentInstance instance, OSAID scriptID) {
  ComponentRecord* record = platform::valid(instance);
  if (!record) return badComponentInstance;
  if (!record->ids.erase(scriptID)) return errOSAInvalidID;
  return record->component->dispose(scriptID);
}
