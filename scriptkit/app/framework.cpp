#include "scriptkit/app/framework.h"

#include <cstdio>

#include "platform/state_files.h"

#include "scriptkit/app/layout.h"
#include "scriptkit/app/osa_component.h"
#include "scriptkit/app/window_text.h"
#include "scriptkit/lang/script.h"
#include "scriptkit/model/names.h"
#include "scriptkit/runtime/methods.h"

namespace scriptkit::app {

struct Framework::Script {
  lang::Instance instance;
};

namespace {

Framework* g_framework = nullptr;

void log_line(std::string_view line) {
  std::fprintf(stderr, "tavrine: %s\n", visible_text(line).c_str());
}

// The bundle's layout and script are a few kilobytes; a file many times
// larger is not one of them.
constexpr std::size_t kMaxBundleFileBytes = 64 << 20;

std::optional<std::string> read_file(const std::filesystem::path& path) {
  std::string text;
  if (platform::read_state_file(path.string(), kMaxBundleFileBytes, text) != noErr)
    return std::nullopt;
  return text;
}

Result<Value> activate_ignoring_other_apps(std::span<const Value>) {
  if (g_framework) g_framework->request_activate();
  return Value();
}

Result<Value> terminate(std::span<const Value>) {
  if (g_framework) g_framework->request_quit();
  return Value();
}

constexpr runtime::Method kFrameworkMethods[] = {
    {runtime::kApplicationObject, "activateIgnoringOtherApps:", &activate_ignoring_other_apps},
    {runtime::kApplicationObject, "terminate:", &terminate},
};

std::string position_key(const model::Window& window) {
  return "position of window " + window.name();
}

}  // namespace

Framework::Framework(std::string program)
    : m_program(std::move(program)),
      m_app(std::make_shared<model::Application>(m_program)),
      m_defaults(UserDefaults::standard_file(m_program)),
      m_alive(std::make_shared<bool>(true)) {
  g_framework = this;
  runtime::registry().add({kFrameworkMethods, std::size(kFrameworkMethods)});
}

Framework::~Framework() {
  *m_alive = false;
  if (g_framework == this) g_framework = nullptr;
  remove_osa_component();
}

std::optional<std::string> Framework::load(const std::filesystem::path& bundle) {
  auto layout = read_file(bundle / "Main.layout");
  if (!layout) return "cannot read " + (bundle / "Main.layout").string();
  if (auto error = load_layout(*layout, *m_app))
    return describe_layout_error(*error, "Main.layout");
  if (!main_window()) return "Main.layout: the layout has no window \"Main\"";

  auto text = read_file(bundle / "Main.applescript");
  if (!text) return "cannot read " + (bundle / "Main.applescript").string();
  auto compiled = lang::Script::compile(*text);
  if (failed(compiled)) {
    const ScriptError& error = std::get<ScriptError>(compiled);
    return "Main.applescript: " + error.message + " (" + std::to_string(error.number) + ")";
  }
  lang::Environment environment{m_app, &log_line};
  m_script = std::make_unique<Script>(
      Script{lang::Instance(std::get<lang::Script>(std::move(compiled)), environment)});

  install_osa_component(OsaSettings{m_app, &log_line});
  m_defaults.load();
  install_user_defaults_methods(m_defaults);
  watch_bounds();
  return std::nullopt;
}

std::shared_ptr<model::Window> Framework::main_window() const {
  return m_app->window("Main");
}

void Framework::set_window_printer(std::function<void(std::string_view)> printer) {
  m_printer = std::move(printer);
}

std::vector<std::string> Framework::restore_window_positions() {
  std::vector<std::string> placed;
  for (const model::ElementPtr& child : m_app->children()) {
    auto* window = dynamic_cast<model::Window*>(child.get());
    if (!window) continue;
    Value kept = m_defaults.get(position_key(*window));
    if (!kept.is_list() || kept.as_list().size() != 2 || !kept.as_list()[0].is_integer() ||
        !kept.as_list()[1].is_integer()) {
      continue;
    }
    auto x = static_cast<std::int32_t>(kept.as_list()[0].as_integer());
    auto y = static_cast<std::int32_t>(kept.as_list()[1].as_integer());
    model::Bounds b = window->bounds();
    window->set_bounds({x, y + (b.bottom - b.top), x + (b.right - b.left), y});
    placed.push_back(window->name());
  }
  return placed;
}

void Framework::keep_window_positions() {
  for (const model::ElementPtr& child : m_app->children()) {
    auto* window = dynamic_cast<model::Window*>(child.get());
    if (!window) continue;
    const model::Bounds& b = window->bounds();
    m_defaults.set(position_key(*window), Value(ValueList{Value(b.left), Value(b.top)}));
  }
  m_defaults.save();
}

void Framework::launched() {
  dispatch("launched", {Value(model::ElementPtr(m_app))});
}

void Framework::open(const std::vector<std::string>& paths) {
  ValueList files;
  for (const std::string& path : paths) files.emplace_back(path);
  dispatch("open", {Value(std::move(files))});
}

void Framework::clicked(model::Element& control) {
  dispatch("clicked", {Value(control.shared_from_this())});
}

void Framework::chose_menu_item(model::PopUpButton& popup) {
  dispatch("choose menu item", {Value(popup.shared_from_this())});
}

void Framework::will_quit() {
  if (m_quitting) return;
  m_quitting = true;
  dispatch("will quit", {Value(model::ElementPtr(m_app))});
  keep_window_positions();
}

void Framework::request_activate() {
  if (m_toolkit) m_toolkit->activate();
}

void Framework::request_quit() {
  if (m_toolkit) m_toolkit->quit();
}

// Runs a handler, or, while another one runs (a modal dialog's event loop
// inside a native call lets events through), queues it to run after.
void Framework::dispatch(std::string_view handler, std::vector<Value> args) {
  if (!m_script || !m_script->instance.has_handler(handler)) return;
  if (m_handler_depth > 0) {
    m_pending.push_back({std::string(handler), std::move(args)});
    return;
  }
  run_handler(handler, args);
  while (!m_pending.empty()) {
    Pending next = std::move(m_pending.front());
    m_pending.pop_front();
    run_handler(next.handler, next.args);
  }
}

void Framework::run_handler(std::string_view handler, const std::vector<Value>& args) {
  ++m_handler_depth;
  Result<Value> result = m_script->instance.call(handler, args);
  --m_handler_depth;
  if (failed(result)) {
    const ScriptError& error = std::get<ScriptError>(result);
    std::fprintf(stderr, "tavrine: Main.applescript: error in \"%.*s\": %s (%d)\n",
                 static_cast<int>(handler.size()), handler.data(),
                 visible_text(error.message).c_str(), error.number);
  }
  if (m_printer && main_window()) {
    m_printer("== " + std::string(handler) + "\n" + window_text(*main_window()));
  }
}

// A view's bounds changed from outside the window script: tell the script
// once the event that changed them is done. A script of the native side
// counts as outside even while a handler runs: the event monitor runs one
// from a modal dialog's event loop, and the script hears of it after the
// handler that opened the dialog.
void Framework::watch_bounds() {
  m_app->observe([this](const model::Change& change) {
    if (change.kind != model::ChangeKind::Property || change.property != model::prop::kBounds)
      return;
    const bool from_window_script = m_handler_depth > 0 && native_scripts_running() == 0;
    if (from_window_script || !dynamic_cast<model::View*>(&change.element)) return;
    std::weak_ptr<model::Element> view = change.element.shared_from_this();
    auto task = [this, view, alive = m_alive] {
      auto element = view.lock();
      if (*alive && element) dispatch("bounds changed", {Value(element)});
    };
    if (m_toolkit) {
      m_toolkit->post(task);
    } else {
      task();
    }
  });
}

}  // namespace scriptkit::app
