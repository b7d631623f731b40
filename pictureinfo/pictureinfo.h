// Gathering the current picture's information into G_INFO.
#pragma once

void GetPictureInfo();
void CleanUpRowFields();
