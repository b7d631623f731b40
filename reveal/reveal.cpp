#include "reveal/reveal.h"

// FIXME: the folder reveal is not built yet.
void HandleRevealFolder(SInt16, SInt32) {}
OSErr MyRevealFolder(const FSSpec*) { return noErr; }
