// The program's one kind of alert: a movable note with a message, an empty
// explanation and a single default OK button.
#pragma once

// Shows the alert and returns when the user dismisses it.
void ShowNoteAlert(const char* message);
