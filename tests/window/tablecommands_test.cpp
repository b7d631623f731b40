// The table-view commands against the sample window's table "files".
#include <string>

#include "tests/window/command_fixture.h"
#include "window/tablecommands.h"

using window_test::P;
using window_test::WindowCommands;

namespace {

const P kMain("Main");
const P kFiles("files");

class TableCommands : public WindowCommands {
 protected:
  void AddRows(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(AddListRow(kFiles, kMain), noErr);
  }
  std::vector<std::int64_t> selection() const { return w.files->selected_rows(); }
};

TEST_F(TableCommands, AddsRowsAndWritesCells) {
  AddRows(2);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\nmake new data row at end of data rows of data source of table "
            "view \"files\" of scroll view \"files\"\nend tell");
  EXPECT_EQ(SetListRowColumnText(kFiles, kMain, 2, P("name"), P("b.tif")), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\nset contents of data cell \"name\" of data row 2 of data "
            "source of table view \"files\" of scroll view \"files\" to \"b.tif\"\nend tell");
  EXPECT_EQ(w.files->data_source()->row(2)->cell("name")->contents(), "b.tif");
  EXPECT_EQ(w.files->data_source()->row(1)->cell("name")->contents(), "");
  EXPECT_EQ(SetListRowColumnText(kFiles, kMain, 3, P("name"), P("c")), errAENoSuchObject);
  EXPECT_EQ(SetListRowColumnText(kFiles, kMain, 1, P("colour"), P("c")), errAENoSuchObject);
}

TEST_F(TableCommands, CellTextShares134CharactersWithTheNames) {
  AddRows(1);
  // 121 fixed characters; "Main", "name", "1" and twice "files" take 19.
  std::string text(134 - 19, 'x');
  EXPECT_EQ(SetListRowColumnText(kFiles, kMain, 1, P("name"), P(text)), noErr);
  EXPECT_EQ(texts.back().size(), 255u);
  EXPECT_EQ(w.files->data_source()->row(1)->cell("name")->contents(), text);
  EXPECT_EQ(SetListRowColumnText(kFiles, kMain, 1, P("name"), P(text + "y")),
            errOSASyntaxTypeError);
  EXPECT_EQ(w.files->data_source()->row(1)->cell("name")->contents(), text);
}

TEST_F(TableCommands, SetsHeaderTitlesAndRedraws) {
  std::vector<scriptkit::model::ChangeKind> kinds;
  w.app->observe([&](const scriptkit::model::Change& c) { kinds.push_back(c.kind); });
  EXPECT_EQ(SetListColumnHeaderTitle(kFiles, kMain, 2, P("Bytes")), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\nset title of header cell of table column 2 of table view "
            "\"files\" of scroll view \"files\" to \"Bytes\"\nupdate\nend tell");
  EXPECT_EQ(w.files->column(2)->header_cell()->title(), "Bytes");
  EXPECT_EQ(kinds.back(), scriptkit::model::ChangeKind::Update);
}

TEST_F(TableCommands, SelectsDeselectsAndScrolls) {
  AddRows(5);
  EXPECT_EQ(SetListSelection(kFiles, kMain, 3), noErr);
  EXPECT_NE(texts.back().find("\" to 3\n"), std::string::npos);
  EXPECT_EQ(selection(), (std::vector<std::int64_t>{3}));
  EXPECT_EQ(DeselectListRows(kFiles, kMain), noErr);
  EXPECT_NE(texts.back().find("set selected rows of table view \"files\" of scroll view "
                              "\"files\" to {}\n"),
            std::string::npos);
  EXPECT_TRUE(selection().empty());
  EXPECT_EQ(ScrollListToRow(kFiles, kMain, 4), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\nset theTable to table view \"files\" of scroll view "
            "\"files\"\ncall method \"scrollRowToVisible:\" of object theTable with parameter "
            "4\nend tell");
  EXPECT_EQ(w.files->scrolled_row(), 5);  // the method counts rows from 0
  changes = 0;
  EXPECT_EQ(SetListSelection(kFiles, kMain, 9), errAENoSuchObject);
  EXPECT_EQ(ScrollListToRow(kFiles, kMain, 5), errAENoSuchObject);
  EXPECT_EQ(changes, 0);
}

TEST_F(TableCommands, ExtendsTheSelectionByACountOfRows) {
  AddRows(6);
  SetListSelection(kFiles, kMain, 1);
  EXPECT_EQ(SetListMultiSelectExtending("files", "Main", 2, 3), noErr);
  EXPECT_EQ(texts.back(),
            "set theTable to table view \"files\" of scroll view \"files\" of window \"Main\"\n"
            "set tIndexLocation to 2\n"
            "set tIndexLength to 3\n"
            "set myRange to {tIndexLocation, tIndexLength}\n"
            "set myIndexSet to call method \"indexSetWithIndexesInRange:\" of class "
            "\"NSIndexSet\" with parameter myRange\n"
            "call method \"selectRowIndexes:byExtendingSelection:\" of theTable with parameters "
            "{myIndexSet, true}");
  EXPECT_EQ(selection(), (std::vector<std::int64_t>{1, 3, 4, 5}));
  changes = 0;
  EXPECT_EQ(SetListMultiSelectExtending("files", "Main", 4, 3), errAENoSuchObject);
  EXPECT_EQ(changes, 0);
}

TEST_F(TableCommands, RowTextWritesItsValueUnquoted) {
  AddRows(2);
  EXPECT_EQ(SetListRowText("files", "Main", 2, "{\"a.tif\", \"3 MB\"}"), noErr);
  EXPECT_EQ(texts.back(),
            "tell window \"Main\"\nset contents of data row 2 of data source of table view "
            "\"files\" of scroll view \"files\" to {\"a.tif\", \"3 MB\"}\nend tell");
  EXPECT_EQ(w.files->data_source()->row(2)->cell("size")->contents(), "3 MB");
  EXPECT_EQ(SetListRowText("files", "Main", 1, "\"only\""), noErr);
  EXPECT_EQ(w.files->data_source()->row(1)->cell("name")->contents(), "only");
}

TEST_F(TableCommands, PlainTextCommandsRefuseTextsPastTheirLimit) {
  AddRows(1);
  std::size_t runs = texts.size();
  std::string value = "\"" + std::string(9990, 'v') + "\"";
  EXPECT_EQ(SetListRowText("files", "Main", 1, value.c_str()), paramErr);
  std::string name(1000, 'n');
  EXPECT_EQ(SetListMultiSelectExtending(name.c_str(), "Main", 0, 1), paramErr);
  EXPECT_EQ(texts.size(), runs);
  // Just inside the limit runs: the fixed text and names take 118 characters.
  std::string fits = "\"" + std::string(9999 - 118 - 2, 'v') + "\"";
  EXPECT_EQ(SetListRowText("files", "Main", 1, fits.c_str()), noErr);
  EXPECT_EQ(texts.back().size(), 9999u);
}

TEST_F(TableCommands, DeletesEveryRow) {
  AddRows(3);
  SetListSelection(kFiles, kMain, 2);
  EXPECT_EQ(DeleteAllListRows(kFiles, kMain), noErr);
  EXPECT_EQ(w.files->data_source()->row_count(), 0u);
  EXPECT_TRUE(selection().empty());
}

}  // namespace
