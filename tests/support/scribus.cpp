#include "tests/support/scribus.h"

#include "tests/support/sandbox.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <fstream>

namespace testing_support {

namespace {

// QProcess wants an application object; a test program without one gets
// one here.
void need_application() {
  if (QCoreApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "tavrine-test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication application(argc, argv);
}

// Scribus keeps its preferences (and a user's start-up script) under the
// home folder: each test program gives it a home of its own.
QString scribus_home() {
  static TempDir home;
  return QString::fromStdString(home.path().string());
}

}  // namespace

bool have_scribus() {
  return !QStandardPaths::findExecutable("scribus").isEmpty();
}

std::filesystem::path scribus_script(const char* name) {
  return std::filesystem::path(TAVRINE_SOURCE_DIR) / "tests" / "support" / "scribus" / name;
}

bool run_scribus(const std::filesystem::path& script, const std::vector<std::string>& arguments,
                 std::string* log, QProcessEnvironment environment) {
  need_application();
  if (environment.isEmpty()) environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("HOME", scribus_home());
  QStringList list{"-g", "-ns", "-py", QString::fromStdString(script.string())};
  for (const std::string& argument : arguments) list << QString::fromStdString(argument);
  QProcess scribus;
  scribus.setProcessEnvironment(environment);
  scribus.setStandardInputFile(QProcess::nullDevice());
  scribus.setProcessChannelMode(QProcess::MergedChannels);
  scribus.start("scribus", list);
  bool ended = scribus.waitForFinished(60000);
  if (!ended) scribus.kill(), scribus.waitForFinished();
  if (log != nullptr) *log = scribus.readAll().toStdString();
  return ended && scribus.exitStatus() == QProcess::NormalExit && scribus.exitCode() == 0;
}

bool make_scribus_document(const std::filesystem::path& folder, const std::string& description) {
  std::filesystem::path file = folder / "make_doc.json";
  std::ofstream(file) << description;
  return run_scribus(scribus_script("make_doc.py"), {file.string()});
}

}  // namespace testing_support
