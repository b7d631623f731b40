// The run-time state of the current picture and of the open-with pop-up and
// the trigger button. One global instance each, all zero at start, read and
// written in place. None of it is saved.
#pragma once

#include "platform/types.h"

// A short text in a 1000-byte buffer: it never uses more than its first 256.
using InfoText = unsigned char[1000];

struct PictureInfo {
  Boolean creatorUnknown;   // no application was found for the picture
  InfoText picturePath;     // POSIX path of the picture, Mac Roman
  InfoText creatorAppName;  // display name of the default application
  FSSpec pictureSpec;       // the picture, made from picturePath
  FSSpec creatorAppSpec;    // the default application
  OSType pictureCreator;    // creator code from the picture's Finder information
  InfoText creatorAppPath;  // POSIX path of the default application, Mac Roman
  SInt32 pixelWidth;
  SInt32 pixelHeight;
  InfoText dimensionsText;    // the size line shown to the user
  InfoText colorProfileName;  // the picture's colour profile name
};

struct DocSettings {
  SInt16 docHorizontalUnits;  // unit code for widths
  SInt16 docVerticalUnits;    // unit code for heights
};

extern PictureInfo G_INFO;
extern DocSettings G_DOCSETTINGS;
extern Boolean G_ALWAYSOPENWITH;
extern SInt32 G_LASTOPENWITHSELECTEDROW;
extern Boolean G_TRIGGERBUTTONWASEXPANDED;
