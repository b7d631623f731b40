// The launch context of every application this program starts: on an X
// display it gives each launch of a desktop entry that asks for startup
// notification (StartupNotify=true) a startup id of its own, announced to
// the desktop before the launch and completed should the launch fail, so the
// application's window may come forward. GIO passes the id to the
// application in its environment.
#pragma once

#include <gio/gio.h>

#include "platform/linux/gobject_ptr.h"

namespace platform {

GObjectPtr<GAppLaunchContext> new_launch_context();

}  // namespace platform
