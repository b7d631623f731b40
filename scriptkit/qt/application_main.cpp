// NSApplicationMain on Qt: see scriptkit/app/application.h.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/backings.h"
#include "platform/bundle.h"
#include "scriptkit/app/application.h"
#include "scriptkit/app/bundle_location.h"
#include "scriptkit/app/framework.h"
#include "scriptkit/qt/alerts_qt.h"
#include "scriptkit/qt/app_chooser.h"
#include "scriptkit/qt/event_monitor_qt.h"
#include "scriptkit/qt/instance_channel.h"
#include "scriptkit/qt/qt_text.h"
#include "scriptkit/qt/qt_toolkit.h"
#include "scriptkit/qt/window_view.h"
#include "scriptkit/runtime/methods.h"

using namespace scriptkit;

namespace {

// How long a launch waits for a busy running window to take its pictures.
constexpr int kHandOverPatienceMs = 30000;

// An absolute path without empty, "." and ".." components, as QDir cleans
// one, but on the path's own bytes.
std::string absolute_clean(std::string_view path) {
  std::string absolute(path);
  if (absolute.empty() || absolute[0] != '/') {
    QByteArray here = QFile::encodeName(QDir::currentPath());
    absolute =
        std::string(here.constData(), static_cast<std::size_t>(here.size())) + "/" + absolute;
  }
  std::vector<std::string_view> names;
  std::string_view rest(absolute);
  for (std::size_t at = 0; at <= rest.size();) {
    std::size_t slash = std::min(rest.find('/', at), rest.size());
    std::string_view name = rest.substr(at, slash - at);
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    at = slash + 1;
  }
  std::string clean;
  for (std::string_view name : names) (clean += '/') += name;
  return clean.empty() ? "/" : clean;
}

// The pictures named on the command line, as absolute paths in the file
// system's own bytes (a name that is not valid UTF-8 keeps them); the
// desktop entry's %F gives paths, and file URLs are taken too.
std::vector<std::string> command_line_files(int argc, const char** argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string_view argument(argv[i]);
    QUrl url(qt::to_qt(argument));
    bool is_url = argument.starts_with("file:") && url.isLocalFile();
    files.push_back(absolute_clean(is_url ? qt::local_file_bytes(url) : std::string(argument)));
  }
  return files;
}

// The program's icon file: in the source tree's bundle, or where the install
// put it for the icon theme.
QIcon program_icon(const std::filesystem::path& bundle) {
  for (const auto& file :
       {bundle / "tavrine.svg", bundle.parent_path() / "icons/hicolor/scalable/apps/tavrine.svg"}) {
    if (std::filesystem::exists(file)) return QIcon(qt::to_qt(file.string()));
  }
  return {};
}

void print_window(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

// The dialogs and the bell of the toolkit, while a display is there to show
// them; without one the standard-error backings stay and the chooser is
// cancelled, since a modal dialog nobody can see would never end.
class Dialogs {
 public:
  Dialogs(bool headless, app::UserDefaults& defaults) : m_chooser(&defaults) {
    if (headless) return;
    m_alerts_installed.emplace(&m_alerts);
    m_chooser_installed.emplace(&m_chooser);
  }

 private:
  qt::QtAlerts m_alerts;
  qt::AppChooser m_chooser;
  std::optional<platform::ScopedBacking<platform::AlertBacking>> m_alerts_installed;
  std::optional<platform::ScopedBacking<platform::ChooserBacking>> m_chooser_installed;
};

// The command line Qt is given: the program's own, with the display
// platform named when the environment leaves Qt to guess it wrongly. In a
// Wayland session the window runs natively on Wayland (falling back to the X
// display of Xwayland, or to text, should the Wayland platform fail); with no
// display at all the window is printed as text (offscreen). A platform named
// by the user (QT_QPA_PLATFORM, -platform) is left alone.
std::vector<char*> qt_arguments(int argc, const char** argv) {
  static char option[] = "-platform";
  static char offscreen[] = "offscreen";
  static char wayland_or_x[] = "wayland;xcb";
  static char wayland_or_text[] = "wayland;offscreen";
  std::vector<char*> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(const_cast<char*>(argv[i]));
  auto named = [](const char* name) { return !qEnvironmentVariableIsEmpty(name); };
  const bool chosen = named("QT_QPA_PLATFORM") || std::any_of(argv, argv + argc, [](const char* a) {
                        return std::strcmp(a, "-platform") == 0;
                      });
  char* platform = nullptr;
  if (!chosen && named("WAYLAND_DISPLAY")) {
    platform = named("DISPLAY") ? wayland_or_x : wayland_or_text;
  } else if (!chosen && !named("DISPLAY")) {
    platform = offscreen;
  }
  if (platform) arguments.insert(arguments.begin() + std::min(argc, 1), {option, platform});
  arguments.push_back(nullptr);
  return arguments;
}

// The startup id the desktop gave this launch: X11's, or a Wayland
// compositor's activation token. Read before Qt takes it for its own window.
std::string launch_startup_id() {
  for (const char* name : {"DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN"}) {
    if (!qEnvironmentVariableIsEmpty(name)) return qt::from_qt(qEnvironmentVariable(name));
  }
  return {};
}

// Hands the pictures to the running instance, if one runs: then the exit
// status of this launch; nothing when this launch is the one to run.
std::optional<int> hand_over(qt::InstanceChannel& channel, const std::vector<std::string>& files,
                             const QString& socket, const std::string& startup_id) {
  switch (channel.start(files, socket, kHandOverPatienceMs, startup_id)) {
    case qt::InstanceChannel::Start::handed_over:
      return 0;
    case qt::InstanceChannel::Start::no_answer:
      std::fprintf(stderr, "tavrine: the running tavrine does not answer\n");
      return 1;
    case qt::InstanceChannel::Start::first:
      break;
  }
  return std::nullopt;
}

// Later launches' pictures: the window comes forward, completes the
// launch's startup id (which ends the launcher's busy cursor) and shows them.
void take_hand_overs(qt::InstanceChannel& channel, const QString& socket, qt::WindowView& window,
                     qt::QtToolkit& toolkit, app::Framework& framework) {
  auto startup_id = std::make_shared<std::string>();
  channel.on_startup_id([startup_id](const std::string& id) { *startup_id = id; });
  channel.listen(socket, [&, startup_id](std::vector<std::string> paths) {
    toolkit.activate();
    qt::complete_startup(window, std::exchange(*startup_id, {}));
    if (!paths.empty()) framework.open(paths);
  });
}

// Loads the window framework from the bundle, with the program's own methods;
// false, once it has said why on standard error, when it cannot.
bool load_framework(app::Framework& framework, const std::filesystem::path& bundle) {
  platform::set_main_bundle_path(bundle.string());
  runtime::load_program_methods();
  if (auto error = framework.load(bundle)) {
    std::fprintf(stderr, "tavrine: %s\n", error->c_str());
    return false;
  }
  return true;
}

// The windows' icon: the icon theme's, else the program's own file.
void set_window_icon(const std::filesystem::path& bundle) {
  // Without a desktop's own icon theme (a bare X server), the common one.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == "hicolor") {
    QIcon::setThemeName("Adwaita");
  }
  QApplication::setWindowIcon(QIcon::fromTheme("tavrine", program_icon(bundle)));
}

// Shows the window and the pictures of the command line, then runs until the
// program quits. Headless, with pictures, it prints them and ends there.
int show_and_run(app::Framework& framework, qt::WindowView& window,
                 const std::vector<std::string>& files, bool headless) {
  if (framework.main_window()->visible()) window.show();
  framework.launched();
  if (!files.empty()) framework.open(files);
  if (headless && !files.empty()) {
    QCoreApplication::processEvents();
    framework.will_quit();
    return 0;
  }
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                   [&] { framework.will_quit(); });
  return QApplication::exec();
}

}  // namespace

int NSApplicationMain(int argc, const char** argv) {
  const std::string startup_id = launch_startup_id();
  std::vector<char*> arguments = qt_arguments(argc, argv);
  int count = static_cast<int>(arguments.size()) - 1;
  QApplication application(count, arguments.data());
  QApplication::setApplicationName("tavrine");
  QGuiApplication::setDesktopFileName("tavrine");
  // QApplication has taken its own options out of count and arguments.
  const std::vector<std::string> files =
      command_line_files(count, const_cast<const char**>(arguments.data()));
  const bool headless = qt::running_headless();

  const QString socket = qt::InstanceChannel::socket_path();
  qt::InstanceChannel channel;
  if (auto status = hand_over(channel, files, socket, startup_id)) return *status;

  const std::filesystem::path bundle = app::find_application_bundle();
  app::Framework framework;
  if (!load_framework(framework, bundle)) return 1;
  if (headless) framework.set_window_printer(&print_window);
  Dialogs dialogs(headless, framework.defaults());
  set_window_icon(bundle);

  const auto placed = framework.restore_window_positions();
  qt::WindowView window(framework.main_window(), framework,
                        std::find(placed.begin(), placed.end(), "Main") != placed.end());
  qt::QtToolkit toolkit(&window);
  framework.set_toolkit(&toolkit);
  take_hand_overs(channel, socket, window, toolkit, framework);
  qt::host_event_monitor();
  return show_and_run(framework, window, files, headless);
}
