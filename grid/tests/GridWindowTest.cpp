// The grid window offscreen against a real PostgreSQL: open, group, expand,
// filter by a range, edit a cell and a subtotal, undo, redo, save, reload;
// a conflict made by a second connection; cancel of a long load; CSV
// export; captions in three languages. Every model the window shows runs
// under QAbstractItemModelTester in its fatal mode.
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QTreeView>
#include <QtTest/QTest>
#include <fstream>
#include <sstream>

#include "app/TranslationEditor.h"
#include "dataframework/elements/DataRow.h"
#include "dataframework/elements/SubTotalRow.h"
#include "dataframework/qt/RowStorageModel.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "grid/GridWindow.h"
#include "grid/tests/GridFixture.h"
#include "testsupport/Process.h"

namespace grid::test {
namespace {

using namespace dataframework;
using Lines = std::vector<std::string>;

class GridWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Db = std::make_unique<TPgSession>();
    MakeSalesTable(*Db);
    Bridge = dataframework::bridge::test::MakeBridge(dataframework::bridge::test::ePg);
    Window = std::make_unique<TGridWindow>(*Bridge);
    Window->show();
  }
  void TearDown() override {
    Tester.reset();
    Window.reset();
  }
  bool Open(const std::string& Name) {
    Tester.reset();
    const bool done = Window->OpenTable(Name);
    Watch();
    return done;
  }
  void Watch() {
    Tester.reset();
    if (Window->Proxy())
      Tester = std::make_unique<QAbstractItemModelTester>(
          Window->Proxy(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  }
  // Lets the queued refreshes run.
  void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  std::string Describe(const QModelIndex& At) const {
    TAbstractRow* row = Window->RowAt(At);
    if (row == nullptr) return "?";
    TGridDocument& doc = Window->Document();
    if (row->IsSubTotal()) {
      std::string text = "S:";
      const TKeyValues path = doc.GroupPath(*static_cast<TSubTotalRow*>(row));
      for (size_t k = 0; k < path.size(); ++k) text += (k ? "/" : "") + ValueAsString(path[k]);
      return text;
    }
    const TKeyValues key = doc.KeyOf(*row);
    std::string text;
    for (size_t k = 0; k < key.size(); ++k) text += (k ? "/" : "") + ValueAsString(key[k]);
    return text;
  }
  // The view as text: children in brackets, "+" after a collapsed group.
  std::string Outline(const QModelIndex& Parent = QModelIndex()) const {
    QAbstractItemModel* model = Window->View()->model();
    std::string text;
    for (int i = 0; i < model->rowCount(Parent); ++i) {
      const QModelIndex at = model->index(i, 0, Parent);
      if (!text.empty()) text += " ";
      text += Describe(at);
      if (model->rowCount(at) > 0) {
        EXPECT_TRUE(Window->View()->isExpanded(at)) << Describe(at) << " shown collapsed";
        text += "(" + Outline(at) + ")";
      } else if (model->hasChildren(at)) {
        text += "+";
      }
    }
    return text;
  }
  QModelIndex Find(const std::string& Described, const QModelIndex& Parent = QModelIndex()) const {
    QAbstractItemModel* model = Window->View()->model();
    for (int i = 0; i < model->rowCount(Parent); ++i) {
      const QModelIndex at = model->index(i, 0, Parent);
      if (Describe(at) == Described) return at;
      const QModelIndex below = Find(Described, at);
      if (below.isValid()) return below;
    }
    return QModelIndex();
  }
  int ColumnOf(const std::string& Name) const {
    const auto fields = Window->Document().Fields();
    for (size_t i = 0; i < fields.size(); ++i)
      if (Window->Document().ColumnName(fields[i]) == Name) return static_cast<int>(i);
    return -1;
  }
  std::string Text(const QModelIndex& At, const std::string& Column) const {
    return Window->View()
        ->model()
        ->data(At.siblingAtColumn(ColumnOf(Column)))
        .toString()
        .toStdString();
  }
  bool Edit(const std::string& Row, const std::string& Column, const std::string& Value) {
    const QModelIndex at = Find(Row);
    EXPECT_TRUE(at.isValid()) << Row;
    const bool done = Window->View()->model()->setData(at.siblingAtColumn(ColumnOf(Column)),
                                                       QString::fromStdString(Value));
    Settle();
    return done;
  }
  Lines DbRows() const {
    Lines lines;
    for (const auto& r : Db->Rows("SELECT region || '/' || product || '/' || month || ' ' || "
                                  "amount || ' ' || quantity || ' unchanged' FROM sales ORDER BY "
                                  "region COLLATE \"C\", product COLLATE \"C\", month"))
      lines.push_back(*r[0]);
    return lines;
  }

  std::unique_ptr<TPgSession> Db;
  std::unique_ptr<dataframework::bridge::TDbDataBridge> Bridge;
  std::unique_ptr<TGridWindow> Window;
  std::unique_ptr<QAbstractItemModelTester> Tester;
};

TEST_F(GridWindowTest, OpenGroupExpandFilterEditUndoRedoSaveAndReload) {
  ASSERT_TRUE(Open("sales")) << Window->LastMessage();
  EXPECT_EQ(Outline(),
            "north/apple/1 north/apple/2 north/apple/3 north/pear/1 south/apple/1 "
            "south/apple/2 south/kiwi,\"gold\"/1");
  // Group by region through the level chooser.
  Window->GroupBox->setCurrentIndex(1);
  emit Window->GroupBox->activated(1);
  Settle();
  EXPECT_EQ(Outline(), "S:north+ S:south+");
  EXPECT_EQ(Text(Find("S:north"), "amount"), "65");

  // Expanding a node in the view expands the group in the document.
  Window->View()->expand(Find("S:north"));
  Settle();
  EXPECT_EQ(Outline(), "S:north(north/apple/1 north/apple/2 north/apple/3 north/pear/1) S:south+");
  Window->View()->collapse(Find("S:north"));
  Settle();
  EXPECT_EQ(Outline(), "S:north+ S:south+");
  // A whole level: everything down to the rows.
  Window->LevelBox->setCurrentIndex(1);
  emit Window->LevelBox->activated(1);
  Settle();
  EXPECT_EQ(Outline(),
            "S:north(north/apple/1 north/apple/2 north/apple/3 north/pear/1) "
            "S:south(south/apple/1 south/apple/2 south/kiwi,\"gold\"/1)");

  // Filter by a range: the criteria's text form is shown and reads back.
  Window->FilterEdit->setText("amount: 15-150");
  QTest::mouseClick(Window->ButtonFilter, Qt::LeftButton);
  Watch();
  Settle();
  EXPECT_EQ(Window->FilterEdit->text().toStdString(),
            "TCriteria(TCriteriaField(sales.amount: 15-150))");
  EXPECT_EQ(Outline(), "S:north+ S:south+");
  Window->LevelBox->setCurrentIndex(1);
  emit Window->LevelBox->activated(1);
  Settle();
  EXPECT_EQ(Outline(), "S:north(north/apple/2 north/apple/3) S:south(south/apple/1)");
  // A filter that does not parse changes nothing and says why.
  EXPECT_FALSE(Window->ApplyFilter("amount: 15-"));
  EXPECT_EQ(Window->LastMessage(), "Invalid filter for column amount: Invalid criteria text: 15-");
  EXPECT_EQ(Window->FilterEdit->text().toStdString(),
            "TCriteria(TCriteriaField(sales.amount: 15-150))");

  // Edits, spreads, undos and redos are signalled row by row: another row's
  // index and the current row survive them all (no model reset).
  QSignalSpy resets(Window->View()->model(), &QAbstractItemModel::modelReset);
  const QPersistentModelIndex other(Find("south/apple/1"));
  Window->View()->setCurrentIndex(other);

  // Edit a cell: a refused value keeps the old one.
  EXPECT_FALSE(Edit("north/apple/2", "amount", "lots"));
  EXPECT_EQ(Text(Find("north/apple/2"), "amount"), "20");
  EXPECT_TRUE(Edit("north/apple/2", "amount", "25")) << Window->LastMessage();
  EXPECT_EQ(Text(Find("north/apple/2"), "amount"), "25");
  EXPECT_EQ(Text(Find("S:north"), "amount"), "55");
  EXPECT_EQ(Window->View()->model()->data(Find("north/apple/2"), Qt::ToolTipRole).toString(),
            "changed");
  // Edit a subtotal, spread in proportion: 25 + 30 = 55 becomes 110.
  Window->SpreadBox->setCurrentIndex(1);
  EXPECT_TRUE(Edit("S:north", "amount", "110")) << Window->LastMessage();
  EXPECT_EQ(Text(Find("north/apple/2"), "amount"), "50");
  EXPECT_EQ(Text(Find("north/apple/3"), "amount"), "60");
  EXPECT_NE(Window->StatusText->text().indexOf("Unsaved: 2"), -1)
      << Window->StatusText->text().toStdString();

  // Undo both, redo both.
  QTest::mouseClick(Window->ButtonUndo, Qt::LeftButton);
  Settle();
  EXPECT_EQ(Text(Find("north/apple/3"), "amount"), "30");
  EXPECT_EQ(Text(Find("north/apple/2"), "amount"), "25");
  QTest::mouseClick(Window->ButtonUndo, Qt::LeftButton);
  Settle();
  EXPECT_EQ(Text(Find("north/apple/2"), "amount"), "20");
  EXPECT_FALSE(Window->ButtonUndo->isEnabled());
  EXPECT_NE(Window->StatusText->text().indexOf("Unsaved: 0"), -1);
  QTest::mouseClick(Window->ButtonRedo, Qt::LeftButton);
  QTest::mouseClick(Window->ButtonRedo, Qt::LeftButton);
  Settle();
  EXPECT_EQ(Text(Find("north/apple/2"), "amount"), "50");
  EXPECT_EQ(Text(Find("north/apple/3"), "amount"), "60");
  EXPECT_FALSE(Window->ButtonRedo->isEnabled());
  EXPECT_EQ(resets.count(), 0);
  ASSERT_TRUE(other.isValid());
  EXPECT_EQ(QModelIndex(other), Find("south/apple/1"));
  EXPECT_EQ(Window->View()->currentIndex(), QModelIndex(other));

  // Save, then reload and compare with the database.
  QTest::mouseClick(Window->ButtonSave, Qt::LeftButton);
  Settle();
  EXPECT_EQ(Window->LastMessage(), "Ok");
  EXPECT_EQ(Window->Document().UnsavedCount(), 0);
  const Lines db = DbRows();
  EXPECT_EQ(db[1], "north/apple/2 50 1 unchanged");
  EXPECT_EQ(db[2], "north/apple/3 60 1 unchanged");
  ASSERT_TRUE(Window->ApplyFilter(""));
  Watch();
  EXPECT_EQ(Rows(Window->Document()), db);
  QTest::mouseClick(Window->ButtonRevert, Qt::LeftButton);
  Watch();
  EXPECT_EQ(Rows(Window->Document()), db);
}

TEST_F(GridWindowTest, AddAndDeleteRowsAreStepsToo) {
  ASSERT_TRUE(Open("sales"));
  Window->Document().AddRow({"west", "fig", "1"});
  Settle();
  EXPECT_TRUE(Find("west/fig/1").isValid());
  EXPECT_EQ(Window->View()->model()->data(Find("west/fig/1"), Qt::ToolTipRole).toString(),
            "inserted");
  Window->View()->selectionModel()->select(Find("north/pear/1"),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
  QTest::mouseClick(Window->ButtonDelete, Qt::LeftButton);
  Settle();
  EXPECT_FALSE(Find("north/pear/1").isValid());
  EXPECT_NE(Window->StatusText->text().indexOf("inserted 1, deleted 1"), -1)
      << Window->StatusText->text().toStdString();
  QTest::mouseClick(Window->ButtonUndo, Qt::LeftButton);
  Settle();
  EXPECT_TRUE(Find("north/pear/1").isValid());
  ASSERT_TRUE(Window->Save());
  EXPECT_EQ(Rows(Window->Document()), DbRows());
  EXPECT_EQ(DbRows().size(), 8u);
}

TEST_F(GridWindowTest, ConflictFromASecondConnectionIsShownAndNothingIsLost) {
  ASSERT_TRUE(Open("sales"));
  ASSERT_TRUE(Edit("south/apple/1", "amount", "101"));
  Db->Exec(
      "UPDATE sales SET quantity = 9 WHERE region = 'south' AND month = 1 AND product = 'apple'");
  EXPECT_FALSE(Window->Save());
  EXPECT_EQ(Window->LastMessage(),
            "Conflict in sales: the row (south, apple, 1) was changed in the database");
  EXPECT_NE(Window->StatusText->text().indexOf("(south, apple, 1)"), -1);
  EXPECT_EQ(Window->Document().UnsavedCount(), 1);
  EXPECT_EQ(Text(Find("south/apple/1"), "amount"), "101") << "the edit stays";
  EXPECT_TRUE(Window->ButtonUndo->isEnabled());
  EXPECT_EQ(*Db->Rows("SELECT amount FROM sales WHERE region = 'south' AND month = 1 AND "
                      "product = 'apple'")[0][0],
            "100");
}

TEST_F(GridWindowTest, CancelStopsALongLoad) {
  Db->Exec("INSERT INTO sales SELECT 'x', 'p', g, g, 1 FROM generate_series(1, 30000) g");
  Bridge->BlockRows = 1000;
  bool cancelled = false;
  // Cancel as soon as the progress dialog runs events.
  std::function<void()> poll = [&] {
    if (Window->Progress() != nullptr) {
      Window->Progress()->cancel();
      cancelled = true;
    } else if (!cancelled) {
      QTimer::singleShot(0, poll);
    }
  };
  QTimer::singleShot(0, poll);
  EXPECT_FALSE(Open("sales"));
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(Window->LastMessage(), "Load cancelled");
  EXPECT_FALSE(Window->Document().Complete());
  EXPECT_LT(Rows(Window->Document()).size(), 30007u);
  EXPECT_NE(Window->StatusText->text().indexOf("load cancelled"), -1);
  EXPECT_TRUE(Open("sales")) << "loads whole again";
  EXPECT_EQ(Rows(Window->Document()).size(), 30007u);
}

TEST_F(GridWindowTest, CsvExportReadsBack) {
  ASSERT_TRUE(Open("sales"));
  Window->Document().SetGroupLevels(1);
  Settle();
  const std::string file = testsupport::MakeTempDir("grid-window") + "/out.csv";
  ASSERT_TRUE(Window->ExportCsv(file, true));
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const auto records = ReadCsv(text.str());
  ASSERT_EQ(records.size(), 10u);
  EXPECT_EQ(records[1], (Lines{"1", "north", "", "", "65", "5"}));
  EXPECT_EQ(records[9], (Lines{"", "south", "kiwi,\"gold\"", "1", "7.5", "5"}));
  EXPECT_FALSE(Window->ExportCsv("/nonexistent/dir/out.csv", false));
  EXPECT_EQ(Window->LastMessage(), "Cannot write /nonexistent/dir/out.csv");
}

TEST_F(GridWindowTest, CaptionsInThreeLanguages) {
  TTranslatedStrings& strings = Window->Strings();
  ASSERT_EQ(strings.LanguageCount(), 3);
  struct {
    const char* Language;
    const char* Save;
    const char* Group;
  } cases[] = {{"Ing", "Save", "Group by"},
               {"Por", "Salvar", "Agrupar por"},
               {"Esp", "Guardar", "Agrupar por"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Language);
    Window->SwitchLanguage(strings.IndexOfLanguage(c.Language));
    EXPECT_EQ(Window->ButtonSave->text().toStdString(), c.Save);
    EXPECT_EQ(Window->LabelGroup->text().toStdString(), c.Group);
  }
  // The test bench's translation editor edits the grid's captions too.
  app::TFRMTranslationEditor editor(*Window);
  editor.SelectLanguage(strings.IndexOfLanguage("Ing"));
  EXPECT_EQ(Window->ButtonSave->text().toStdString(), "Save");
  EXPECT_EQ(Window->CheckTotalsBelow->text().toStdString(), "Totals below");
}

}  // namespace
}  // namespace grid::test
