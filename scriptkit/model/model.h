// The window object model, all in one include: the application, its windows
// and their views. See element.h for the two faces every element offers.
#pragma once

#include "scriptkit/model/coerce.h"
#include "scriptkit/model/controls.h"
#include "scriptkit/model/element.h"
#include "scriptkit/model/popup.h"
#include "scriptkit/model/table.h"
#include "scriptkit/model/view.h"
#include "scriptkit/model/vocabulary.h"
