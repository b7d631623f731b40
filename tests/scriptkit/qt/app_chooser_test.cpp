// The Qt application chooser, driven as a user would drive it, against real
// desktop entries in a sandbox.
#include "scriptkit/qt/app_chooser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "openwith/lookup.h"
#include "scriptkit/app/user_defaults.h"
#include "tests/support/file_sandbox.h"
#include "tests/support/qt_app.h"
#include "tests/support/sandbox.h"

namespace fs = std::filesystem;
using testing_support::DesktopSandbox;
using testing_support::EnvVar;

namespace {

// The dialog's parts as a test reaches them.
struct Chooser {
  QDialog* dialog;
  QLineEdit* filter;
  QListWidget* list;
  QPushButton* choose;

  void type(const QString& text) const { filter->setText(text); }
  void press_enter() const {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(filter, &press);
  }
  QListWidgetItem* row(const QString& text) const {
    QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
  }
  // The rows as the user sees them, headings included.
  std::vector<std::string> rows() const {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) {
      if (!list->item(i)->isHidden()) out.push_back(list->item(i)->text().toStdString());
    }
    return out;
  }
};

class AppChooserTest : public ::testing::Test {
 protected:
  AppChooserTest() { testing_support::qt_application(); }

  // Opens the chooser, lets `act` work in it, and closes it with Cancel if
  // `act` left it open. Returns what the chooser answered.
  std::optional<std::string> run(const std::function<void(const Chooser&)>& act) {
    scriptkit::qt::AppChooser chooser(&defaults);
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      Chooser parts{dialog, dialog->findChild<QLineEdit*>("filter"),
                    dialog->findChild<QListWidget*>("applications"),
                    dialog->findChild<QPushButton*>("choose")};
      act(parts);
      if (dialog->isVisible()) dialog->reject();
    });
    return chooser.choose_application("Choose an application:", "Choose", "");
  }

  fs::path add(const std::string& id, const std::string& name, const std::string& mime,
               const std::string& extra = "") {
    return desktop.add_application(id, name, "true %f", mime, extra);
  }

  DesktopSandbox desktop;
  EnvVar locale{"LC_ALL", "de_DE.UTF-8"};
  scriptkit::app::UserDefaults defaults{desktop.root() / "defaults"};
};

const std::string kJpeg =
    std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11) + std::string(64, '\0');

}  // namespace

TEST_F(AppChooserTest, AFilterThatHidesTheSelectionNeverChoosesIt) {
  add("ristretto", "Ristretto", "image/jpeg;");
  fs::path gpicview = add("gpicview", "GPicView", "image/jpeg;");
  std::optional<std::string> chosen = run([](const Chooser& c) {
    c.list->setCurrentItem(c.row("Ristretto"));
    c.type("zzz");  // nothing left to see: nothing can be chosen
    EXPECT_EQ(c.list->currentItem(), nullptr);
    EXPECT_FALSE(c.choose->isEnabled());
    c.press_enter();
    EXPECT_TRUE(c.dialog->isVisible());
    c.type("gpic");  // the one row left is the one selected
    EXPECT_EQ(c.list->currentItem(), c.row("GPicView"));
    EXPECT_TRUE(c.choose->isEnabled());
    c.press_enter();
  });
  EXPECT_EQ(chosen, gpicview.string());
}

TEST_F(AppChooserTest, DoubleClickChoosesTheRowClicked) {
  add("ristretto", "Ristretto", "image/jpeg;");
  fs::path feh = add("feh", "feh", "image/jpeg;");
  EXPECT_EQ(run([](const Chooser& c) {
              c.list->setCurrentItem(c.row("Ristretto"));
              emit c.list->itemActivated(c.row("feh"));
            }),
            feh.string());
  EXPECT_EQ(run([](const Chooser& c) { c.press_enter(); }), std::nullopt);  // nothing selected yet
}

TEST_F(AppChooserTest, RecommendsThePicturesHandlersFirstEvenHiddenOnes) {
  add("viewer", "Viewer", "image/jpeg;");
  add("feh", "feh", "image/jpeg;", "NoDisplay=true\n");
  add("ristretto", "Ristretto", "image/jpeg;image/png;");
  add("vim", "Vim", "text/plain;");
  add("bulk", "Bulk Rename", "");
  add("settings", "File Manager Settings", "", "NoDisplay=true\n");
  add("tavrine", "Tavrine", "image/jpeg;image/*;");
  desktop.set_default("image/jpeg", "viewer");
  if (!desktop.index_mime_types()) GTEST_SKIP() << "update-desktop-database is missing";
  testing_support::TempDir docs;
  FSSpec picture = testing_support::spec_of(docs.write("photo.jpg", kJpeg));
  FSSpec app{};
  OSType creator = 0;
  ASSERT_EQ(FindApplicationFromDocument(&picture, &app, &creator), noErr);
  run([](const Chooser& c) {
    EXPECT_EQ(c.rows(),
              (std::vector<std::string>{"Recommended Applications", "feh", "Ristretto", "Viewer",
                                        "Other Applications", "Bulk Rename", "Vim"}));
    c.type("vi");  // a group with nothing left loses its heading
    EXPECT_EQ(c.rows(), (std::vector<std::string>{"Recommended Applications", "Viewer",
                                                  "Other Applications", "Vim"}));
    c.type("vim");
    EXPECT_EQ(c.rows(), (std::vector<std::string>{"Other Applications", "Vim"}));
  });
}

TEST_F(AppChooserTest, SortsInTheLocalesCollationOrder) {
  add("zeta", "Zeta", "");
  add("aerger", "Ärger", "");
  add("alpha", "alpha viewer", "");
  add("digikam", "digiKam", "");
  run([](const Chooser& c) {
    EXPECT_EQ(c.rows(), (std::vector<std::string>{"alpha viewer", "Ärger", "digiKam", "Zeta"}));
  });
}

TEST_F(AppChooserTest, FiltersOnEveryNameWithoutCaseOrAccents) {
  // GIO takes only entries whose program exists.
  fs::path program = desktop.marker_program(desktop.root() / "marker");
  fs::path gimp =
      desktop.add_application("gimp", "GNU Image Manipulation Program", program.string() + " %U",
                              "", "GenericName=Image Editor\nKeywords=retouch;photo;\n");
  add("aerger", "Ärger", "");
  add("zeta", "Zeta", "");
  auto shown = [&](const QString& text) {
    std::vector<std::string> rows;
    run([&](const Chooser& c) {
      c.type(text);
      rows = c.rows();
    });
    return rows;
  };
  const std::vector<std::string> just_gimp{"GNU Image Manipulation Program"};
  EXPECT_EQ(shown("RETOUCH"), just_gimp);       // a keyword
  EXPECT_EQ(shown("image editor"), just_gimp);  // the generic name
  EXPECT_EQ(shown("record-args"), just_gimp);   // the command
  EXPECT_EQ(shown("arger"), std::vector<std::string>{"Ärger"});
  EXPECT_EQ(shown("ÄRGER"), std::vector<std::string>{"Ärger"});
  EXPECT_EQ(run([](const Chooser& c) {
              c.type("retouch");
              c.press_enter();
            }),
            gimp.string());
}

TEST_F(AppChooserTest, OpensWithTheFilterFocusedAndKeepsItsSize) {
  add("zeta", "Zeta", "");
  run([](const Chooser& c) {
    EXPECT_EQ(c.dialog->focusWidget(), c.filter);
    c.dialog->resize(610, 700);
  });
  scriptkit::app::UserDefaults saved(desktop.root() / "defaults");
  saved.load();
  ASSERT_TRUE(saved.get("size of chooser").is_list());
  QSize size;
  run([&](const Chooser& c) { size = c.dialog->size(); });
  EXPECT_EQ(size, QSize(610, 700));
}

TEST_F(AppChooserTest, NeverListsTavrineItself) {
  add("tavrine", "Tavrine", "image/jpeg;");
  add("zeta", "Zeta", "");
  if (!desktop.index_mime_types()) GTEST_SKIP() << "update-desktop-database is missing";
  platform::note_chooser_document_type("image/jpeg");
  run([](const Chooser& c) { EXPECT_EQ(c.rows(), std::vector<std::string>{"Zeta"}); });
}

TEST_F(AppChooserTest, ArrowsInTheFilterMoveTheSelectionPastHeadings) {
  fs::path viewer = add("viewer", "Viewer", "image/jpeg;");
  add("ristretto", "Ristretto", "image/jpeg;");
  add("zeta", "Zeta", "");
  if (!desktop.index_mime_types()) GTEST_SKIP() << "update-desktop-database is missing";
  platform::note_chooser_document_type("image/jpeg");
  EXPECT_EQ(run([](const Chooser& c) {
              auto press = [&](Qt::Key key) {
                QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
                QApplication::sendEvent(c.filter, &event);
              };
              press(Qt::Key_Down);
              EXPECT_EQ(c.list->currentItem(), c.row("Ristretto"));
              press(Qt::Key_Down);
              press(Qt::Key_Return);
            }),
            viewer.string());
}
