#include "openwith/launch.h"

#include "platform/alerts.h"
#include "platform/files.h"
#include "platform/launch.h"

void MyLaunchApplication(FSSpec appSpec, FSSpec docSpec) {
  FSRef docRef;
  FSRef appRef;
  FSpMakeFSRef(&docSpec, &docRef);
  FSpMakeFSRef(&appSpec, &appRef);

  LSLaunchFSRefSpec launchSpec;
  launchSpec.appRef = &appRef;
  launchSpec.numDocs = 1;
  launchSpec.itemRefs = &docRef;
  launchSpec.passThruParams = nullptr;
  launchSpec.launchFlags = kLSLaunchDefaults;
  launchSpec.asyncRefCon = nullptr;

  OSStatus err = LSOpenFromRefSpec(&launchSpec, nullptr);
  if (err != noErr) SysBeep(5);
}
