// NSApplicationMain on Qt: see scriptkit/app/application.h.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

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
#include "scriptkit/runtime/objc.h"

using namespace scriptkit;

namespace {

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
    QUrl url(QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size())));
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
  Dialogs(bool headless, app::UserDefaults& defaults) : m_installed(!headless), m_chooser(&defaults) {
    if (!m_installed) return;
    platform::set_alert_backing(&m_alerts);
    platform::set_chooser_backing(&m_chooser);
  }
  ~Dialogs() {
    if (!m_installed) return;
    platform::set_alert_backing(nullptr);
    platform::set_chooser_backing(nullptr);
  }

 private:
  bool m_installed;
  qt::QtAlerts m_alerts;
  qt::AppChooser m_chooser;
};

}  // namespace

int NSApplicationMain(int argc, const char** argv) {
  QApplication application(argc, const_cast<char**>(argv));
  QApplication::setApplicationName("tavrine");
  QGuiApplication::setDesktopFileName("tavrine");
  // QApplication has taken its own options out of argc and argv.
  const std::vector<std::string> files = command_line_files(argc, argv);
  const bool headless = qt::running_headless();

  const QString socket = qt::InstanceChannel::socket_path();
  if (qt::InstanceChannel::hand_over(files, socket)) return 0;

  const std::filesystem::path bundle = app::find_application_bundle();
  platform::set_main_bundle_path(bundle.string());
  runtime::load_program_methods();
  app::Framework framework;
  if (auto error = framework.load(bundle)) {
    std::fprintf(stderr, "tavrine: %s\n", error->c_str());
    return 1;
  }
  if (headless) framework.set_window_printer(&print_window);
  Dialogs dialogs(headless, framework.defaults());
  // Without a desktop's own icon theme (a bare X server), the common one.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == "hicolor") {
    QIcon::setThemeName("Adwaita");
  }
  QApplication::setWindowIcon(QIcon::fromTheme("tavrine", program_icon(bundle)));

  const auto placed = framework.restore_window_positions();
  qt::WindowView window(framework.main_window(), framework,
                        std::find(placed.begin(), placed.end(), "Main") != placed.end());
  qt::QtToolkit toolkit(&window);
  framework.set_toolkit(&toolkit);

  qt::InstanceChannel channel;
  channel.listen(socket, [&](std::vector<std::string> paths) {
    toolkit.activate();
    if (!paths.empty()) framework.open(paths);
  });
  qt::host_event_monitor();

  if (framework.main_window()->visible()) window.show();
  framework.launched();
  if (!files.empty()) framework.open(files);
  if (headless && !files.empty()) {
    QCoreApplication::processEvents();
    framework.will_quit();
    return 0;
  }
  QObject::connect(&application, &QCoreApplication::aboutToQuit, [&] { framework.will_quit(); });
  return QApplication::exec();
}
