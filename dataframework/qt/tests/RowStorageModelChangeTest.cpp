// The item model follows changes of its storage row by row: which signals
// an expand, a collapse, an edit, a put, a delete and a key change send
// (and that none of them resets the model), that persistent indexes of the
// other rows survive, that changes made straight on the storage are
// followed too, and a randomised run that compares the model after every
// step with a fresh model over the same storage. Every model is watched by
// QAbstractItemModelTester in fatal mode.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHash>
#include <QItemSelectionModel>
#include <QPersistentModelIndex>
#include <QSignalSpy>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/elements/SubTotalHandler.h"
#include "dataframework/qt/RowStorageModel.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/StringList.h"

namespace dataframework::qt {
namespace {

using namespace dataframework;

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "rowstoragemodel_change_tests";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
}

std::string Text(const QVariant& Value) {
  return Value.toString().toUtf8().toStdString();
}

// Sales by region, product and month (the keys), with an aggregable amount
// and quantity; the storage's subtotals are writable (even spread, undo).
// Regions N and S, products p and q, months 1 and 2: eight rows, amount
// 1 ... 8 in key order.
class ChangeFixture : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> Region = TKeyField::CreateSimpleKey("CRegion", StringType(4, true));
  std::unique_ptr<TKeyField> Product = TKeyField::CreateSimpleKey("CProduct", StringType(4, true));
  std::unique_ptr<TKeyField> Month = TKeyField::CreateSimpleKey("CMonth", IntegerType());
  std::unique_ptr<TDataField> Amount = TDataField::CreateField("CAmount", DoubleType());
  std::unique_ptr<TDataField> Quantity = TDataField::CreateField("CQuantity", IntegerType());
  std::unique_ptr<TDataTable> Table;
  std::unique_ptr<TRowStorage> Storage;
  std::unique_ptr<TRowStorageModel> Model;
  std::unique_ptr<QAbstractItemModelTester> Tester;

  void SetUp() override {
    EnsureApplication();
    Amount->SetIsAggregable(true);
    Quantity->SetIsAggregable(true);
    Table = TDataTable::CreateTable("ChangeT", nullptr, {Region.get(), Product.get(), Month.get()},
                                    {Amount.get(), Quantity.get()}, nullptr);
    Storage = std::make_unique<TRowStorage>(Table.get());
    Storage->SetSubTotalHandler(std::make_unique<TSubTotalHandler>(true));
    double amount = 1;
    for (const char* region : {"N", "S"})
      for (const char* product : {"p", "q"})
        for (int month : {1, 2}) Put(region, product, month, amount++);
  }
  void TearDown() override {
    Tester.reset();
    Model.reset();
    Storage.reset();
    Table.reset();
  }
  // A new storage with the eight rows, for each case of a table.
  void Restart() {
    TearDown();
    SetUp();
  }

  std::unique_ptr<TDataRow> MakeRow(const std::string& region, const std::string& product,
                                    int month, double amount) {
    std::unique_ptr<TDataRow> row = Storage->CreateRow();
    row->SetFieldValue(Region.get(), StringValue(region));
    row->SetFieldValue(Product.get(), StringValue(product));
    row->SetFieldValue(Month.get(), IntegerValue(month));
    row->SetFieldValue(Amount.get(), DoubleValue(amount));
    row->SetFieldValue(Quantity.get(), IntegerValue(static_cast<int>(amount) % 5));
    return row;
  }
  TPutResult Put(const std::string& region, const std::string& product, int month, double amount) {
    std::unique_ptr<TDataRow> row = MakeRow(region, product, month, amount);
    return Storage->PutNewRow(row, paRefuse);
  }
  TDataRow* Row(const std::string& region, const std::string& product, int month) {
    return Storage->LocateRow({region, product, std::to_string(month)});
  }
  // The group of a region, or of a region's product.
  TSubTotalRow* Group(const std::string& region, const std::string& product = "") {
    TSubTotalRow* row = Storage->Root();
    int i;
    if (!row->FindChild(StringValue(region), i)) return nullptr;
    row = static_cast<TSubTotalRow*>(row->Child(i));
    if (product.empty()) return row;
    if (!row->FindChild(StringValue(product), i)) return nullptr;
    return static_cast<TSubTotalRow*>(row->Child(i));
  }
  // Regions and products shown as collapsed groups, months hidden.
  void ShowGroups() {
    Storage->GetTreeKey(1).SetVisible(true);
    Storage->GetTreeKey(2).SetVisible(true);
    Storage->DataLevelKey().SetVisible(false);
    // Products stay hidden until their region is expanded.
    for (const char* region : {"N", "S"}) Storage->Collapse(Group(region, "p"));
  }
  std::vector<TDataField*> Columns() const {
    return {Region.get(), Product.get(), Month.get(), Amount.get(), Quantity.get()};
  }
  void MakeModel() {
    Tester.reset();
    Model = std::make_unique<TRowStorageModel>(*Storage, Columns());
    Tester = std::make_unique<QAbstractItemModelTester>(
        Model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  }
  int AmountColumn() const { return 3; }

  // "N", "N/p", "N/p/1" for rows, "root" for the grand total.
  static std::string Describe(const TRowStorageModel& On, const QModelIndex& At) {
    const TAbstractRow* row = On.RowAt(At);
    if (row == nullptr) return "?";
    if (row->IsSubTotal() && row->Parent() == nullptr) return "root";
    std::string text;
    for (int c = 0; c < 3; ++c) {
      const std::string key = Text(On.data(On.index(At.row(), c, At.parent()), Qt::EditRole));
      if (key.empty() ||
          (row->IsSubTotal() && c >= static_cast<const TSubTotalRow*>(row)->LevelIndex()))
        break;
      text += (text.empty() ? "" : "/") + key;
    }
    return text;
  }
  // The model as text: children in brackets, "+" after a collapsed group.
  static std::string Outline(const TRowStorageModel& On,
                             const QModelIndex& Parent = QModelIndex()) {
    std::string text;
    for (int i = 0; i < On.rowCount(Parent); ++i) {
      const QModelIndex at = On.index(i, 0, Parent);
      if (!text.empty()) text += " ";
      text += Describe(On, at);
      const int children = On.rowCount(at);
      if (children == 0 && On.hasChildren(at)) text += "+";
      if (children > 0) text += "(" + Outline(On, at) + ")";
    }
    return text;
  }
  std::string Outline() const { return Outline(*Model); }
  // Every node with its parent and every cell's display text.
  static std::string Dump(const TRowStorageModel& On, const QModelIndex& Parent = QModelIndex(),
                          int Depth = 0) {
    std::string text;
    for (int i = 0; i < On.rowCount(Parent); ++i) {
      const QModelIndex at = On.index(i, 0, Parent);
      text += std::string(static_cast<size_t>(Depth) * 2, ' ');
      if (On.parent(at) != Parent) text += "[wrong parent] ";
      for (int c = 0; c < On.columnCount(); ++c)
        text += Text(On.data(On.index(i, c, Parent))) + "|";
      text += On.hasChildren(at) ? " +\n" : "\n";
      text += Dump(On, at, Depth + 1);
    }
    return text;
  }
  // A fresh model over the same storage, as text.
  std::string FreshDump() {
    TRowStorageModel fresh(*Storage, Columns());
    return Dump(fresh);
  }
  std::string FreshOutline() {
    TRowStorageModel fresh(*Storage, Columns());
    return Outline(fresh);
  }
};

// What a view knows of the model by its signals alone: the text of every
// row, read when the row is inserted, changed or reset, never otherwise. A
// change the model does not signal leaves a stale text behind.
class TSignalMirror {
 public:
  explicit TSignalMirror(const TRowStorageModel& Model) : FModel(Model) {
    QObject::connect(&Model, &QAbstractItemModel::modelReset, &FContext, [this] { ReadAll(); });
    QObject::connect(&Model, &QAbstractItemModel::rowsInserted, &FContext,
                     [this](const QModelIndex& Parent, int First, int Last) {
                       for (int r = First; r <= Last; ++r) ReadBelow(FModel.index(r, 0, Parent));
                     });
    QObject::connect(&Model, &QAbstractItemModel::dataChanged, &FContext,
                     [this](const QModelIndex& TopLeft, const QModelIndex& BottomRight) {
                       for (int r = TopLeft.row(); r <= BottomRight.row(); ++r)
                         Read(FModel.index(r, 0, TopLeft.parent()));
                     });
    ReadAll();
  }
  // The first row whose known text is not the model's, or "".
  std::string Stale() const {
    std::string found;
    Walk(QModelIndex(), [&](const QModelIndex& At) {
      auto known = FTexts.find(QPersistentModelIndex(At));
      if (found.empty() && (known == FTexts.end() || known.value() != TextOf(At)))
        found = TextOf(At) +
                " (known: " + (known == FTexts.end() ? std::string("nothing") : known.value()) +
                ")";
    });
    return found;
  }

 private:
  std::string TextOf(const QModelIndex& At) const {
    std::string text;
    for (int c = 0; c < FModel.columnCount(); ++c)
      text += Text(FModel.data(FModel.index(At.row(), c, At.parent()))) + "|";
    return text;
  }
  void Read(const QModelIndex& At) { FTexts[QPersistentModelIndex(At)] = TextOf(At); }
  void ReadBelow(const QModelIndex& At) {
    Read(At);
    Walk(At, [this](const QModelIndex& Below) { Read(Below); });
  }
  void ReadAll() {
    FTexts.clear();
    Walk(QModelIndex(), [this](const QModelIndex& At) { Read(At); });
  }
  void Walk(const QModelIndex& Parent, const std::function<void(const QModelIndex&)>& Visit) const {
    for (int i = 0; i < FModel.rowCount(Parent); ++i) {
      const QModelIndex at = FModel.index(i, 0, Parent);
      Visit(at);
      Walk(at, Visit);
    }
  }

  const TRowStorageModel& FModel;
  QObject FContext;
  QHash<QPersistentModelIndex, std::string> FTexts;
};

// ---------------------------------------------------------------- signals

TEST_F(ChangeFixture, ExpandAndCollapseInsertAndRemoveTheGroupsRows) {
  ShowGroups();
  MakeModel();
  ASSERT_EQ(Outline(), "N+ S+");
  QSignalSpy inserted(Model.get(), &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(Model.get(), &QAbstractItemModel::rowsRemoved);
  QSignalSpy resets(Model.get(), &QAbstractItemModel::modelReset);

  const QPersistentModelIndex south(Model->IndexOf(Group("S")));
  const QModelIndex north = Model->IndexOf(Group("N"));
  ASSERT_TRUE(Model->Expand(north));
  EXPECT_EQ(Outline(), "N(N/p+ N/q+) S+");
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][0].value<QModelIndex>(), Model->IndexOf(Group("N")));
  EXPECT_EQ(inserted[0][1].toInt(), 0);
  EXPECT_EQ(inserted[0][2].toInt(), 1);
  EXPECT_EQ(removed.count(), 0) << "the expanded group keeps its node";

  ASSERT_TRUE(Model->Expand(Model->IndexOf(Group("N", "q"))));
  EXPECT_EQ(Outline(), "N(N/p+ N/q(N/q/1 N/q/2)) S+");
  ASSERT_EQ(inserted.count(), 2);
  EXPECT_EQ(inserted[1][0].value<QModelIndex>(), Model->IndexOf(Group("N", "q")));

  // Collapsing N hides everything below it: its two products go, with the
  // months below the second one.
  ASSERT_TRUE(Model->Collapse(Model->IndexOf(Group("N"))));
  EXPECT_EQ(Outline(), "N+ S+");
  ASSERT_EQ(removed.count(), 1);
  EXPECT_EQ(removed[0][0].value<QModelIndex>(), Model->IndexOf(Group("N")));
  EXPECT_EQ(removed[0][1].toInt(), 0);
  EXPECT_EQ(removed[0][2].toInt(), 1);
  EXPECT_EQ(resets.count(), 0);
  EXPECT_TRUE(south.isValid());
  EXPECT_EQ(Model->RowAt(south), Group("S"));
  EXPECT_EQ(Outline(), FreshOutline());
}

TEST_F(ChangeFixture, AnEditChangesTheRowAndEveryGroupAboveIt) {
  ShowGroups();
  MakeModel();
  ASSERT_TRUE(Model->Expand(Model->IndexOf(Group("N"))));
  ASSERT_TRUE(Model->Expand(Model->IndexOf(Group("N", "q"))));
  ASSERT_EQ(Outline(), "N(N/p+ N/q(N/q/1 N/q/2)) S+");
  std::vector<std::string> changed;
  QObject::connect(Model.get(), &QAbstractItemModel::dataChanged,
                   [&](const QModelIndex& TopLeft, const QModelIndex& BottomRight) {
                     EXPECT_EQ(TopLeft.parent(), BottomRight.parent());
                     EXPECT_EQ(TopLeft.column(), 0);
                     EXPECT_EQ(BottomRight.column(), Model->columnCount() - 1);
                     for (int r = TopLeft.row(); r <= BottomRight.row(); ++r)
                       changed.push_back(Describe(*Model, Model->index(r, 0, TopLeft.parent())));
                   });
  QSignalSpy inserted(Model.get(), &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(Model.get(), &QAbstractItemModel::rowsRemoved);
  QSignalSpy resets(Model.get(), &QAbstractItemModel::modelReset);
  const QPersistentModelIndex other(Model->IndexOf(Group("N", "p")));

  // A shown row: it, its product and its region.
  ASSERT_TRUE(Model->setData(Model->IndexOf(Row("N", "q", 2), AmountColumn()), "40"));
  std::sort(changed.begin(), changed.end());
  EXPECT_EQ(changed, (std::vector<std::string>{"N", "N/q", "N/q/2"}));
  EXPECT_EQ(Text(Model->data(Model->IndexOf(Group("N"), AmountColumn()))), "46");

  // A hidden row under a collapsed group: that group and its region.
  changed.clear();
  ASSERT_EQ(Row("N", "p", 1)->SetFieldValue(Amount.get(), DoubleValue(11)), srOk);
  std::sort(changed.begin(), changed.end());
  EXPECT_EQ(changed, (std::vector<std::string>{"N", "N/p"}));
  EXPECT_EQ(Text(Model->data(Model->IndexOf(Group("N", "p"), AmountColumn()))), "13");

  // A spread over a subtotal: the months below it and the groups above.
  changed.clear();
  ASSERT_TRUE(Model->setData(Model->IndexOf(Group("N", "q"), AmountColumn()), "50"));
  std::sort(changed.begin(), changed.end());
  EXPECT_EQ(changed, (std::vector<std::string>{"N", "N/q", "N/q/1", "N/q/2"}));
  EXPECT_EQ(Text(Model->data(Model->IndexOf(Row("N", "q", 1), AmountColumn()))), "6.5");

  EXPECT_EQ(inserted.count() + removed.count() + resets.count(), 0) << "values only";
  EXPECT_TRUE(other.isValid());
  EXPECT_EQ(Dump(*Model), FreshDump());
}

TEST_F(ChangeFixture, PutsDeletesAndKeyChangesTouchTheirRowsOnly) {
  Storage->GetTreeKey(1).SetVisible(true);
  Storage->GetTreeKey(2).SetVisible(true);  // every group and row shown
  MakeModel();
  ASSERT_EQ(Outline(), "N(N/p(N/p/1 N/p/2) N/q(N/q/1 N/q/2)) S(S/p(S/p/1 S/p/2) S/q(S/q/1 S/q/2))");
  QSignalSpy inserted(Model.get(), &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(Model.get(), &QAbstractItemModel::rowsRemoved);
  QSignalSpy resets(Model.get(), &QAbstractItemModel::modelReset);
  auto range = [](const QSignalSpy& Spy, qsizetype At) {
    return std::to_string(Spy[At][1].toInt()) + "-" + std::to_string(Spy[At][2].toInt());
  };

  // A put between two months.
  std::unique_ptr<TDataRow> row = MakeRow("S", "p", 3, 9);
  const QPersistentModelIndex untouched(Model->IndexOf(Row("N", "q", 1)));
  ASSERT_EQ(Model->PutRow(row, paRefuse), prOk);
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][0].value<QModelIndex>(), Model->IndexOf(Group("S", "p")));
  EXPECT_EQ(range(inserted, 0), "2-2");

  // A put that makes a new product group: the group comes with its row.
  row = MakeRow("N", "o", 1, 1);
  ASSERT_EQ(Storage->PutNewRow(row, paRefuse), prOk);  // straight to the storage
  ASSERT_EQ(inserted.count(), 2);
  EXPECT_EQ(inserted[1][0].value<QModelIndex>(), Model->IndexOf(Group("N")));
  EXPECT_EQ(range(inserted, 1), "0-0");
  EXPECT_EQ(Outline(*Model, Model->IndexOf(Group("N"))),
            "N/o(N/o/1) N/p(N/p/1 N/p/2) N/q(N/q/1 N/q/2)");

  // A delete of a month; then of the only month of a group, which takes
  // the group with it.
  Row("S", "q", 1)->Delete(true);
  ASSERT_EQ(removed.count(), 1);
  EXPECT_EQ(removed[0][0].value<QModelIndex>(), Model->IndexOf(Group("S", "q")));
  EXPECT_EQ(range(removed, 0), "0-0");
  Row("N", "o", 1)->Delete(true);
  ASSERT_EQ(removed.count(), 2);
  EXPECT_EQ(removed[1][0].value<QModelIndex>(), Model->IndexOf(Group("N")));
  EXPECT_EQ(range(removed, 1), "0-0");

  // A key change moves the row to its new group: removed there, inserted
  // here.
  removed.clear();
  inserted.clear();
  EXPECT_FALSE(Model->setData(Model->IndexOf(Row("N", "p", 2), 1), "q")) << "N/q/2 is taken";
  EXPECT_FALSE(Model->setData(Model->IndexOf(Row("N", "p", 1), 2), "2")) << "N/p/2 is taken";
  EXPECT_EQ(removed.count() + inserted.count(), 0) << "a refused key change moves nothing";
  ASSERT_TRUE(Model->setData(Model->IndexOf(Row("N", "p", 1), 2), "5"));
  EXPECT_EQ(Outline(*Model, Model->IndexOf(Group("N"))), "N/p(N/p/2 N/p/5) N/q(N/q/1 N/q/2)");
  removed.clear();
  inserted.clear();
  ASSERT_TRUE(Model->setData(Model->IndexOf(Row("N", "p", 5), 1), "q"));
  EXPECT_EQ(Outline(*Model, Model->IndexOf(Group("N"))), "N/p(N/p/2) N/q(N/q/1 N/q/2 N/q/5)");
  ASSERT_EQ(removed.count(), 1);
  EXPECT_EQ(removed[0][0].value<QModelIndex>(), Model->IndexOf(Group("N", "p")));
  EXPECT_EQ(range(removed, 0), "1-1");
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][0].value<QModelIndex>(), Model->IndexOf(Group("N", "q")));
  EXPECT_EQ(range(inserted, 0), "2-2");
  EXPECT_EQ(Dump(*Model), FreshDump());

  EXPECT_EQ(resets.count(), 0);
  EXPECT_TRUE(untouched.isValid());
  EXPECT_EQ(Model->RowAt(untouched), Row("N", "q", 1));
}

TEST_F(ChangeFixture, AnEditThatReordersALevelSortedByItsTotalsMovesTheGroup) {
  // Regions sorted by their amount: N (10) before S (26).
  TearDown();
  Region->SetSortField(Amount.get());
  SetUp();
  Storage->GetTreeKey(1).SetVisible(true);
  MakeModel();
  ASSERT_EQ(Outline(), "N(N/p/1 N/p/2 N/q/1 N/q/2) S(S/p/1 S/p/2 S/q/1 S/q/2)");
  const QPersistentModelIndex south(Model->IndexOf(Group("S")));
  QSignalSpy resets(Model.get(), &QAbstractItemModel::modelReset);
  ASSERT_TRUE(Model->setData(Model->IndexOf(Row("N", "p", 1), AmountColumn()), "100"));
  EXPECT_EQ(Outline(), "S(S/p/1 S/p/2 S/q/1 S/q/2) N(N/p/1 N/p/2 N/q/1 N/q/2)");
  EXPECT_EQ(Dump(*Model), FreshDump());
  EXPECT_EQ(resets.count(), 0);
  EXPECT_TRUE(south.isValid()) << "the group that kept its order keeps its index";
  Region->SetSortField(nullptr);
}

// ---------------------------------------------------------------- survival

TEST_F(ChangeFixture, PersistentIndexesAndSelectionOfOtherRowsSurvive) {
  struct {
    const char* Name;
    std::function<void()> Change;
  } cases[] = {
      {"expand elsewhere", [this] { Model->Expand(Model->IndexOf(Group("S"))); }},
      {"collapse elsewhere", [this] { Model->Collapse(Model->IndexOf(Group("N", "p"))); }},
      {"edit elsewhere",
       [this] { Model->setData(Model->IndexOf(Row("N", "p", 2), AmountColumn()), "7"); }},
      {"put elsewhere",
       [this] {
         std::unique_ptr<TDataRow> row = MakeRow("N", "p", 0, 3);
         Model->PutRow(row, paRefuse);
       }},
      {"delete elsewhere", [this] { Row("N", "p", 1)->Delete(true); }},
      {"key change elsewhere",
       [this] { Model->setData(Model->IndexOf(Row("N", "p", 1), 2), "7"); }},
      {"storage expand and collapse",
       [this] {
         Storage->Expand(Group("S"));
         Storage->Collapse(Group("S", "p"));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Restart();
    ShowGroups();
    MakeModel();
    ASSERT_TRUE(Model->Expand(Model->IndexOf(Group("N"))));
    ASSERT_TRUE(Model->Expand(Model->IndexOf(Group("N", "p"))));
    ASSERT_TRUE(Model->Expand(Model->IndexOf(Group("N", "q"))));
    ASSERT_EQ(Outline(), "N(N/p(N/p/1 N/p/2) N/q(N/q/1 N/q/2)) S+");
    QItemSelectionModel selection(Model.get());
    const TAbstractRow* watched = Row("N", "q", 2);
    const QPersistentModelIndex persistent(Model->IndexOf(watched, AmountColumn()));
    selection.select(Model->IndexOf(watched),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QSignalSpy resets(Model.get(), &QAbstractItemModel::modelReset);
    c.Change();
    EXPECT_EQ(resets.count(), 0);
    ASSERT_TRUE(persistent.isValid());
    EXPECT_EQ(Model->RowAt(persistent), watched);
    EXPECT_EQ(persistent.column(), AmountColumn());
    EXPECT_TRUE(selection.isRowSelected(Model->IndexOf(watched).row(),
                                        Model->parent(Model->IndexOf(watched))));
    EXPECT_EQ(Dump(*Model), FreshDump());
  }
}

TEST_F(ChangeFixture, ViewWideChangesResetAndStayConsistent) {
  struct {
    const char* Name;
    std::function<void()> Change;
  } cases[] = {
      {"totals below", [this] { Storage->SetTotalsBelow(true); }},
      {"flat mode", [this] { Storage->SetFlatMode(true); }},
      {"every level shown", [this] { Storage->SetLevelsVisible(true); }},
      {"a level hidden", [this] { Storage->GetTreeKey(2).SetVisible(false); }},
      {"a new criteria empties the storage",
       [this] { Storage->SetCriteria(std::make_unique<TCriteria>()); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Restart();
    ShowGroups();
    MakeModel();
    ASSERT_TRUE(Model->Expand(Model->IndexOf(Group("N"))));
    QSignalSpy resets(Model.get(), &QAbstractItemModel::modelReset);
    c.Change();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(Dump(*Model), FreshDump());
    // In flat mode a put or a delete resets as well (the flat order is the
    // storage's sort's); elsewhere it does not.
    Put("S", "p", 7, 1);
    EXPECT_EQ(Dump(*Model), FreshDump());
  }
}

// ---------------------------------------------------------------- random

// Drives the model and the storage with random edits, spreads, puts,
// deletes, key changes, expands, collapses and visibility changes, and
// compares after every step the whole model with a fresh one and with what
// its signals told (TSignalMirror); a persistent
// index that is still valid must still point at its row, and nothing
// resets the model. The seed comes from CLAVIRA_GRID_SEED (several fixed
// seeds without it).
TEST_F(ChangeFixture, RandomChangesKeepTheModelEqualToAFreshOne) {
  std::vector<unsigned> seeds = {1, 2, 3, 4, 5, 6, 7, 8};
  if (const char* env = std::getenv("CLAVIRA_GRID_SEED"); env != nullptr && *env != '\0')
    seeds = {static_cast<unsigned>(std::strtoul(env, nullptr, 10))};
  for (unsigned seed : seeds) {
    SCOPED_TRACE("CLAVIRA_GRID_SEED=" + std::to_string(seed));
    Restart();
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* regions[] = {"N", "S", "E"};
    const char* products[] = {"p", "q", "r"};
    if (pick(2) == 0) {
      ShowGroups();
    } else {
      Storage->GetTreeKey(1).SetVisible(true);
    }
    if (pick(3) == 0) Storage->SetTotalsBelow(true);
    MakeModel();
    QSignalSpy resets(Model.get(), &QAbstractItemModel::modelReset);
    TSignalMirror mirror(*Model);

    auto nodes = [&]() {
      std::vector<QModelIndex> all;
      std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& Parent) {
        for (int i = 0; i < Model->rowCount(Parent); ++i) {
          const QModelIndex at = Model->index(i, 0, Parent);
          all.push_back(at);
          walk(at);  // not all.back(): the vector grows below
        }
      };
      walk(QModelIndex());
      return all;
    };
    auto dataRows = [&]() {
      platform::TStringList list;
      Storage->GetRows(&list, nullptr, gmRows);
      std::vector<TDataRow*> rows;
      for (int i = 0; i < list.Count(); ++i)
        rows.push_back(static_cast<TDataRow*>(list.GetObject(i)));
      return rows;
    };

    for (int step = 0; step < 150; ++step) {
      std::vector<QModelIndex> shown = nodes();
      std::vector<std::pair<QPersistentModelIndex, const TAbstractRow*>> watched;
      for (const QModelIndex& at : shown) watched.emplace_back(at, Model->RowAt(at));
      std::vector<TDataRow*> rows = dataRows();
      std::string what;
      const int kind = pick(10);
      if (kind == 0 && !shown.empty()) {
        const QModelIndex at = shown[static_cast<size_t>(pick(static_cast<int>(shown.size())))];
        what = "expand " + Describe(*Model, at);
        Model->Expand(at);
      } else if (kind == 1 && !shown.empty()) {
        const QModelIndex at = shown[static_cast<size_t>(pick(static_cast<int>(shown.size())))];
        what = "collapse " + Describe(*Model, at);
        Model->Collapse(at);
      } else if (kind == 2 && !shown.empty()) {
        const QModelIndex at = shown[static_cast<size_t>(pick(static_cast<int>(shown.size())))];
        what = "set amount of " + Describe(*Model, at);
        Model->setData(Model->index(at.row(), AmountColumn(), at.parent()),
                       QString::number(pick(100)));
      } else if (kind == 3) {
        std::unique_ptr<TDataRow> row =
            MakeRow(regions[pick(3)], products[pick(3)], pick(4), pick(20));
        what = "put";
        if (pick(2) == 0) {
          Model->PutRow(row, pick(2) == 0 ? paRefuse : paOverwrite);
        } else {
          Storage->PutNewRow(row, paRefuse);
        }
      } else if (kind == 4 && !rows.empty()) {
        what = "delete";
        rows[static_cast<size_t>(pick(static_cast<int>(rows.size())))]->Delete(pick(3) != 0);
      } else if (kind == 5 && !rows.empty()) {
        TDataRow* row = rows[static_cast<size_t>(pick(static_cast<int>(rows.size())))];
        what = "key change";
        switch (pick(3)) {
          case 0:
            row->SetFieldValue(Region.get(), StringValue(regions[pick(3)]));
            break;
          case 1:
            row->SetFieldValue(Product.get(), StringValue(products[pick(3)]));
            break;
          default:
            row->SetFieldValueEx(Month.get(), IntegerValue(pick(4)),
                                 pick(2) == 0 ? saRefuse : saOverwrite);
            break;
        }
      } else if (kind == 6 && !rows.empty()) {
        what = "storage write";
        rows[static_cast<size_t>(pick(static_cast<int>(rows.size())))]->SetFieldValue(
            Quantity.get(), IntegerValue(pick(9)));
      } else if (kind == 7 && !rows.empty()) {
        TDataRow* row = rows[static_cast<size_t>(pick(static_cast<int>(rows.size())))];
        what = "storage expand or collapse";
        if (pick(2) == 0) {
          Storage->Collapse(row);
        } else if (row->Parent() != nullptr) {
          Storage->Expand(row->Parent());
        }
      } else if (kind == 8 && !rows.empty()) {
        TDataRow* row = rows[static_cast<size_t>(pick(static_cast<int>(rows.size())))];
        what = "visibility";
        row->SetVisible(!row->Visible());
      } else {
        // A spread over a group, straight on the storage.
        TSubTotalRow* group = Group(regions[pick(3)]);
        what = "spread";
        if (group != nullptr) {
          try {
            group->SetFieldValue(Amount.get(), DoubleValue(pick(50)));
          } catch (const std::exception&) {
            // a group without rows takes no total
          }
        }
      }
      SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
      ASSERT_EQ(Dump(*Model), FreshDump());
      ASSERT_EQ(mirror.Stale(), "") << "a change the model did not signal";
      for (const auto& [index, row] : watched) {
        if (index.isValid()) {
          ASSERT_EQ(Model->RowAt(index), row) << "a persistent index moved";
        }
      }
    }
    EXPECT_EQ(resets.count(), 0);
  }
}

}  // namespace
}  // namespace dataframework::qt
