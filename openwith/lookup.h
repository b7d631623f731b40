// Finding the application that opens a document, and letting the user pick
// any other application.
#pragma once

#include "platform/nav.h"
#include "platform/types.h"

// Reads the document's Finder information (its creator goes to `creator`),
// then asks for the application of the item itself, of its type and creator,
// and of its extension alone, in that order. Returns the status of the last
// question: noErr when an application was found (its spec is in `appSpec`).
// When the Finder information cannot be read, returns that status and writes
// neither output.
OSErr FindApplicationFromDocument(const FSSpec* docSpec, FSSpec* appSpec, OSType* creator);

// Runs the application chooser. noErr when the user picked an application
// (its spec and Finder information are written), userCanceledErr (-128) when
// the chooser was cancelled (nothing is written).
OSErr NavPickApplication(FInfo* appInfo, FSSpec* appSpec);

// The chooser's event callback: does nothing.
void myNavWindowEventProc(NavEventCallbackMessage callBackSelector, NavCBRec* callBackParms,
                          NavCallBackUserData callBackUD);
