#include "shell/bridge.h"

#include "openwith/launch.h"
#include "openwith/popup.h"
#include "pictureinfo/measure.h"
#include "pictureinfo/pictureinfo.h"
#include "platform/bundle.h"
#include "prefs/prefs.h"
#include "prefs/userprefs.h"
#include "reveal/reveal.h"
#include "scriptkit/runtime/methods.h"
#include "shell/monitor.h"
#include "shell/records.h"
#include "shell/shared_values.h"
#include "shell/veskaclass.h"

using scriptkit::runtime::bind;
using scriptkit::runtime::kApplicationClass;
using scriptkit::runtime::kApplicationObject;
using scriptkit::runtime::Method;

void UpdateLastOpenWithSelectedRowGlobal(SInt32 row) {
  G_LASTOPENWITHSELECTEDROW = row;
}

SInt32 GetLastOpenWithSelectedRowGlobal() {
  return G_LASTOPENWITHSELECTEDROW;
}

void UpdateAlwaysOpenWithGlobal(SInt32 state) {
  G_ALWAYSOPENWITH = (state == 1);
}

void touchBundleDate() {
  platform::touch_modification_date(platform::main_bundle_path());
}

void touchAppDate() {
  touchBundleDate();
}

void BridgeLaunchApplication() {
  FSSpec appSpec = G_USERPREFS.openWithAppSpec;
  FSSpec docSpec = G_INFO.pictureSpec;
  MyLaunchApplication(appSpec, docSpec);
}

namespace {

constexpr Method kBridgeMethods[] = {
    {kApplicationObject, "__GetStringValueFromCGlobal:", bind<&GetStringValueFromCGlobal>()},
    {kApplicationObject, "__SetStringValueToCGlobal:withValue:", bind<&SetStringValueToCGlobal>()},
    {kApplicationObject, "__GetIntValueFromCGlobal:", bind<&GetIntValueFromCGlobal>()},
    {kApplicationObject, "__SetIntValueToCGlobal:withValue:", bind<&SetIntValueToCGlobal>()},
    {kApplicationObject, "__GetPreferences", bind<&GetPreferences>()},
    {kApplicationObject, "__SavePreferences", bind<&SaveUserPrefs>()},
    {kApplicationObject, "__InstallEventHandlers", bind<&MyInstallEventHandler>()},
    {kApplicationObject, "__GetPictureInfo", bind<&GetPictureInfo>()},
    {kApplicationObject, "__LoadOpenWithListPopUp", bind<&LoadOpenWithListPopUp>()},
    {kApplicationObject, "__SetPostAppListPopUpSelection", bind<&SetPostAppListPopUpSelection>()},
    {kApplicationObject,
     "__HandleOpenWithPopUpSelection:withValue:", bind<&HandleOpenWithPopUpSelection>()},
    {kApplicationObject, "__SetInitialOpenWithPopUpStatus", bind<&SetInitialOpenWithPopUpStatus>()},
    {kApplicationObject,
     "__UpdateLastOpenWithSelectedRowGlobal:", bind<&UpdateLastOpenWithSelectedRowGlobal>()},
    {kApplicationObject, "__GetLastOpenWithSelectedRowGlobal",
     bind<&GetLastOpenWithSelectedRowGlobal>()},
    {kApplicationObject, "__UpdateAlwaysOpenWithGlobal:", bind<&UpdateAlwaysOpenWithGlobal>()},
    {kApplicationObject, "__MyLaunchApplication", bind<&BridgeLaunchApplication>()},
    {kApplicationObject, "__HandleDimensionsUnitsChange", bind<&HandleDimensionsUnitsChange>()},
    {kApplicationObject, "__HandleRevealFolder:withValue:", bind<&HandleRevealFolder>()},
    {kApplicationClass, "touchBundleDate", bind<&touchBundleDate>()},
    {"veskaRoutines", "touchAppDate", bind<&touchAppDate>()},
    {"VeskaClass", "DisplayIcon:which:", bind<&DisplayIcon>()},
    {"VeskaClass", "createSeparatorItem:", bind<&createSeparatorItem>()},
};

}  // namespace

extern "C" constinit const scriptkit::runtime::MethodList ask_program_methods = {
    kBridgeMethods, sizeof kBridgeMethods / sizeof kBridgeMethods[0]};
