// Opening the picture in the chosen application.
#pragma once

#include "platform/types.h"

// Opens the document with the application; one beep on any failure.
void MyLaunchApplication(FSSpec appSpec, FSSpec docSpec);
