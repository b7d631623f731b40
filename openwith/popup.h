// The open-with pop-up of the window "Main" and the list of picked applications.
#pragma once

#include "platform/types.h"

void LoadOpenWithListPopUp();
void SetInitialOpenWithPopUpStatus();
void HandleOpenWithPopUpSelection(SInt16 selectedRow, SInt16 rowCount);
void UpdatePostAppList();
void SetPostAppListPopUpSelection();
