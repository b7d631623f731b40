#include "shell/notealert.h"

#include "platform/alerts.h"

void ShowNoteAlert(const char* message) {
  Str255 text;
  CopyCStringToPascal(message, text);
  Str255 explanation;
  explanation[0] = 0;
  AlertStdAlertParamRec param;
  param.movable = true;
  param.helpButton = false;
  param.filterProc = nullptr;
  param.defaultText = kAlertDefaultOKText;
  param.cancelText = nullptr;
  param.otherText = nullptr;
  param.defaultButton = kAlertStdAlertOKButton;
  param.cancelButton = 0;
  param.position = 0;  // the system's default position
  SInt16 itemHit;
  StandardAlert(kAlertNoteAlert, text, explanation, &param, &itemHit);
}
