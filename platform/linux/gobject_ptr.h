// Owners for GLib and GObject values, so that every reference taken from GIO
// is given back on every path.
#pragma once

#include <glib-object.h>
#include <glib.h>

#include <memory>

namespace platform {

struct GObjectUnref {
  void operator()(gpointer object) const {
    if (object) g_object_unref(object);
  }
};
struct GFreeDeleter {
  void operator()(gpointer memory) const { g_free(memory); }
};
struct GErrorDeleter {
  void operator()(GError* error) const {
    if (error) g_error_free(error);
  }
};
struct GListOfObjectsDeleter {
  void operator()(GList* list) const { g_list_free_full(list, g_object_unref); }
};

template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;
using GErrorPtr = std::unique_ptr<GError, GErrorDeleter>;
using GObjectListPtr = std::unique_ptr<GList, GListOfObjectsDeleter>;

}  // namespace platform
