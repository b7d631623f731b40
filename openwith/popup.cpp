#include "openwith/popup.h"

// FIXME: the open-with pop-up is not built yet.
void LoadOpenWithListPopUp() {}
void SetInitialOpenWithPopUpStatus() {}
void HandleOpenWithPopUpSelection(SInt16, SInt16) {}
void UpdatePostAppList() {}
void SetPostAppListPopUpSelection() {}
