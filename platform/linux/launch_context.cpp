#include "platform/linux/launch_context.h"

#include <stdlib.h>

#include <string>

#include "platform/filemanager.h"
#include "platform/startup.h"

namespace {

struct StartupContext {
  GAppLaunchContext parent;
};
struct StartupContextClass {
  GAppLaunchContextClass parent_class;
};

G_DEFINE_TYPE(StartupContext, startup_context, G_TYPE_APP_LAUNCH_CONTEXT)

char* startup_notify_id(GAppLaunchContext* /*context*/, GAppInfo* info, GList* /*files*/) {
  const char* display = ::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') return nullptr;
  std::string id = platform::make_startup_id();
  platform::announce_startup(id, g_app_info_get_name(info));
  return g_strdup(id.c_str());
}

void launch_failed(GAppLaunchContext* /*context*/, const char* startup_id) {
  if (startup_id) platform::complete_startup(startup_id);
}

void startup_context_class_init(StartupContextClass* klass) {
  GAppLaunchContextClass* context = G_APP_LAUNCH_CONTEXT_CLASS(klass);
  context->get_startup_notify_id = startup_notify_id;
  context->launch_failed = launch_failed;
}

void startup_context_init(StartupContext* /*context*/) {}

}  // namespace

namespace platform {

GObjectPtr<GAppLaunchContext> new_launch_context() {
  return GObjectPtr<GAppLaunchContext>(
      G_APP_LAUNCH_CONTEXT(g_object_new(startup_context_get_type(), nullptr)));
}

}  // namespace platform
