// The Qt view of a model window, kept in step both ways.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTextDocument>
#include <QUrl>

#include "scriptkit/app/layout.h"
#include "scriptkit/model/model.h"
#include "scriptkit/qt/qt_text.h"
#include "scriptkit/qt/window_view.h"
#include "tests/support/qt_app.h"
#include "tests/support/sandbox.h"

using namespace scriptkit;
using namespace scriptkit::model;

namespace {

constexpr std::string_view kLayout = R"(
window "Main" title "View" size 400 300
  text field "name" frame 10 10 200 20 contents "cover.tif"
  text field "note" frame 10 40 200 20 editable true
  popup button "units" frame 10 70 150 26
    menu item "Pixels"
    separator
    menu item "Inches"
    menu item "Picas" enabled false
  check box "always" frame 10 100 150 20 title "Always"
  button "open" frame 200 100 80 26 title "Open"
  image view "icon" frame 10 130 32 32
  progress indicator "busy" frame 50 130 100 16
  box "more" frame 10 170 380 120 title "More"
    button "inner" frame 5 20 80 26 title "Inner"
    table view "files" frame 5 50 360 60
      table column "name" title "Name"
      table column "size" title "Size"
)";

struct Recorder : app::ViewEvents {
  std::vector<std::string> seen;
  void clicked(Element& control) override { seen.push_back("clicked " + control.name()); }
  void chose_menu_item(PopUpButton& popup) override {
    seen.push_back("chose " + popup.name() + " " + popup.current_item()->title());
  }
  void open(const std::vector<std::string>& paths) override {
    for (const auto& p : paths) seen.push_back("open " + p);
  }
};

class WindowViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::qt_application();
    ASSERT_FALSE(app::load_layout(kLayout, *app));
    main = app->window("Main");
    view = std::make_unique<qt::WindowView>(main, events, false);
  }
  template <typename W>
  W* widget(std::string_view class_name, std::string_view name, Element* in = nullptr) {
    auto element = std::get<ElementPtr>(element_named(in ? *in : *main, class_name, name));
    if (auto scroll = std::dynamic_pointer_cast<ScrollView>(element)) element = scroll;
    return qobject_cast<W*>(view->widget_of(*element));
  }
  template <typename T>
  std::shared_ptr<T> element(std::string_view class_name, std::string_view name) {
    return std::dynamic_pointer_cast<T>(
        std::get<ElementPtr>(element_named(*main, class_name, name)));
  }

  std::shared_ptr<Application> app = std::make_shared<Application>();
  std::shared_ptr<Window> main;
  Recorder events;
  std::unique_ptr<qt::WindowView> view;
};

TEST_F(WindowViewTest, ShowsTheModelAsLaidOut) {
  EXPECT_EQ(view->windowTitle(), "View");
  EXPECT_EQ(view->size(), QSize(400, 300));
  auto* name = widget<QLineEdit>("text field", "name");
  ASSERT_TRUE(name);
  EXPECT_EQ(name->text(), "cover.tif");
  EXPECT_TRUE(name->isReadOnly());
  EXPECT_EQ(name->geometry(), QRect(10, 10, 200, 20));
  EXPECT_FALSE(widget<QLineEdit>("text field", "note")->isReadOnly());

  auto* units = widget<QComboBox>("popup button", "units");
  ASSERT_EQ(units->count(), 4);
  EXPECT_EQ(units->currentText(), "Pixels");
  EXPECT_EQ(units->itemData(1, Qt::AccessibleDescriptionRole).toString(), "separator");
  auto* rows = qobject_cast<QStandardItemModel*>(units->model());
  EXPECT_FALSE(rows->item(3)->isEnabled());

  EXPECT_EQ(widget<QCheckBox>("button", "always")->checkState(), Qt::Unchecked);
  EXPECT_EQ(widget<QPushButton>("button", "open")->text(), "Open");
  auto box = std::get<ElementPtr>(element_named(*main, "box", "more"));
  auto* inner = widget<QPushButton>("button", "inner", box.get());
  ASSERT_TRUE(inner);
  EXPECT_EQ(inner->parentWidget(), widget<QGroupBox>("box", "more")) << "a box holds its views";
  auto* table = widget<QTableWidget>("scroll view", "files", box.get());
  ASSERT_TRUE(table);
  EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "Size");
}

TEST_F(WindowViewTest, FollowsTheModel) {
  element<TextField>("text field", "name")->set_contents("back.jpg");
  EXPECT_EQ(widget<QLineEdit>("text field", "name")->text(), "back.jpg");

  auto units = element<PopUpButton>("popup button", "units");
  units->menu()->add_item("Points");
  units->set_current_item(units->menu()->item(4));
  auto* combo = widget<QComboBox>("popup button", "units");
  EXPECT_EQ(combo->count(), 5);
  EXPECT_EQ(combo->currentText(), "Points");
  units->menu()->remove_all();
  EXPECT_EQ(combo->count(), 0);

  auto always = element<Button>("button", "always");
  always->set_state(Button::kMixed);
  EXPECT_EQ(widget<QCheckBox>("button", "always")->checkState(), Qt::PartiallyChecked);
  always->set_enabled(false);
  always->set_visible(false);
  EXPECT_FALSE(widget<QCheckBox>("button", "always")->isEnabled());
  EXPECT_TRUE(widget<QCheckBox>("button", "always")->isHidden());

  auto busy = element<ProgressIndicator>("progress indicator", "busy");
  busy->perform("start");
  EXPECT_EQ(widget<QProgressBar>("progress indicator", "busy")->maximum(), 0) << "busy";

  main->set_title("Other");
  main->set_bounds({0, 200, 300, 0});
  EXPECT_EQ(view->windowTitle(), "Other");
  EXPECT_EQ(view->size(), QSize(300, 200));
}

// Every property a view's table declares for all views reaches the widget
// of every kind of view, set by its script name; so do the titles.
TEST_F(WindowViewTest, EveryViewsWidgetFollowsItsFrameProperties) {
  for (const ElementPtr& child : main->children()) {
    auto v = std::dynamic_pointer_cast<View>(child);
    if (!v) continue;
    SCOPED_TRACE(v->describe());
    QWidget* w = view->widget_of(*v);
    ASSERT_TRUE(w);
    for (const PropertyTable* table : {&View::kProperties, &Framed::kProperties}) {
      for (const Property& property : table->own) {
        Value value =
            property.type == PropertyType::Bounds ? bounds_value({4, 30, 24, 10}) : Value(false);
        ASSERT_FALSE(v->set(property.name, value)) << property.name;
      }
    }
    EXPECT_EQ(w->geometry(), QRect(4, 10, 20, 20));
    EXPECT_TRUE(w->isHidden());
    EXPECT_FALSE(w->isEnabled());
  }
  for (std::string_view name : {"always", "open"}) {
    ASSERT_FALSE(element<Button>("button", name)->set(prop::kTitle, Value("New")));
  }
  ASSERT_FALSE(element<Box>("box", "more")->set(prop::kTitle, Value("New")));
  EXPECT_EQ(widget<QCheckBox>("button", "always")->text(), "New");
  EXPECT_EQ(widget<QPushButton>("button", "open")->text(), "New");
  EXPECT_EQ(widget<QGroupBox>("box", "more")->title(), "New");
}

// Qt shows a text that looks like HTML as HTML; a tooltip renders its text
// the way a QTextDocument does.
QString as_shown(const QString& text) {
  QTextDocument document;
  if (Qt::mightBeRichText(text))
    document.setHtml(text);
  else
    document.setPlainText(text);
  return document.toPlainText();
}

TEST_F(WindowViewTest, ShowsNamesAsPlainTextInTooltips) {
  const QString spoof = "<h1><font color=red>SPOOF  &amp;.jpg";
  element<TextField>("text field", "name")->set_contents(qt::from_qt(spoof));
  auto* name = widget<QLineEdit>("text field", "name");
  EXPECT_EQ(name->text(), spoof);
  EXPECT_EQ(as_shown(name->toolTip()), spoof);
  element<TextField>("text field", "name")->set_contents("cover.tif");
  EXPECT_EQ(name->toolTip(), "cover.tif");
}

TEST_F(WindowViewTest, ShowsImagesFromFilesAndIconNames) {
  testing_support::TempDir dir;
  QImage picture(64, 32, QImage::Format_RGB32);
  picture.fill(Qt::red);
  std::string path = (dir.path() / "red.png").string();
  ASSERT_TRUE(picture.save(QString::fromStdString(path)));
  auto icon = element<ImageView>("image view", "icon");
  icon->set_image(Image::file(path));
  QPixmap shown = widget<QLabel>("image view", "icon")->pixmap();
  EXPECT_EQ(shown.size(), QSize(32, 16)) << "scaled into the view, keeping its shape";
  icon->set_image(Image::icon("no-such-icon;also-none"));
  EXPECT_TRUE(widget<QLabel>("image view", "icon")->pixmap().isNull());
  icon->set_image({});
  EXPECT_TRUE(widget<QLabel>("image view", "icon")->pixmap().isNull());
}

TEST_F(WindowViewTest, TellsTheUsersActions) {
  widget<QPushButton>("button", "open")->click();
  widget<QCheckBox>("button", "always")->click();
  EXPECT_EQ(element<Button>("button", "always")->state(), Button::kOn);
  auto* combo = widget<QComboBox>("popup button", "units");
  combo->setCurrentIndex(2);
  emit combo->activated(2);
  EXPECT_EQ(element<PopUpButton>("popup button", "units")->current_item()->title(), "Inches");
  emit combo->activated(2);  // the same row again is still a choice
  EXPECT_EQ(events.seen, (std::vector<std::string>{"clicked open", "clicked always",
                                                   "chose units Inches", "chose units Inches"}));

  auto* note = widget<QLineEdit>("text field", "note");
  note->setText("typed");
  emit note->textEdited("typed");
  EXPECT_EQ(element<TextField>("text field", "note")->contents(), "typed");
}

TEST_F(WindowViewTest, KeepsTableRowsAndSelectionInStep) {
  auto box = std::get<ElementPtr>(element_named(*main, "box", "more"));
  auto scroll = std::dynamic_pointer_cast<ScrollView>(
      std::get<ElementPtr>(element_named(*box, "scroll view", "files")));
  auto table = scroll->table_view();
  for (const char* name : {"a.tif", "b.jpg", "c.png"}) {
    auto row = table->data_source()->add_row();
    row->cell("name")->set_contents(name);
  }
  auto* widget = qobject_cast<QTableWidget*>(view->widget_of(*scroll));
  ASSERT_EQ(widget->rowCount(), 3);
  EXPECT_EQ(widget->item(1, 0)->text(), "b.jpg");
  ASSERT_FALSE(table->select_rows({2}, false));
  EXPECT_EQ(widget->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(widget->selectionModel()->selectedRows().front().row(), 1);
  widget->selectRow(2);
  EXPECT_EQ(table->selected_rows(), (std::vector<std::int64_t>{3}));
}

TEST_F(WindowViewTest, AddsViewsWithTheModel) {
  auto extra = main->add<Button>("extra");
  extra->set_title("Extra");
  auto* button = qobject_cast<QPushButton*>(view->widget_of(*extra));
  ASSERT_TRUE(button);
  EXPECT_EQ(button->text(), "Extra");
}

TEST_F(WindowViewTest, WritesMovesToTheModelAndTakesDroppedFiles) {
  view->move(120, 80);
  view->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(main->bounds().left, view->pos().x());
  EXPECT_EQ(main->bounds().top, view->pos().y());
  EXPECT_EQ(main->bounds().right - main->bounds().left, 400);

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/pictures/a.tif"), QUrl("https://example.com/b.jpg")});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view.get(), &drop);
  EXPECT_EQ(events.seen, (std::vector<std::string>{"open /pictures/a.tif"}));
}

TEST_F(WindowViewTest, KeptPositionOffEveryScreenIsCentredOnThePrimaryOne) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  // Kept on a second monitor right of and below this one.
  main->set_bounds({screen.right() + 1100, screen.bottom() + 700 + 300, screen.right() + 1500,
                    screen.bottom() + 700});
  view = std::make_unique<qt::WindowView>(main, events, true);
  view->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(QRect(view->pos(), view->size()).center(), screen.center());
  EXPECT_EQ(main->bounds().left, view->pos().x());
  EXPECT_EQ(main->bounds().top, view->pos().y());

  // Half on the screen is on it: the position stays.
  main->set_bounds({screen.right() - 200, 100 + 300, screen.right() + 200, 100});
  view = std::make_unique<qt::WindowView>(main, events, true);
  view->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(view->pos(), QPoint(screen.right() - 200, 100));
}

}  // namespace
