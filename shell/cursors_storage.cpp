#include "shell/cursors.h"

SInt32 G_CURSOR_Crsr1[256];
SInt32 G_CURSOR_Crsr2[256];
SInt32 G_CURSOR_Crsr1PC[256];
SInt32 G_CURSOR_Crsr2PC[256];
