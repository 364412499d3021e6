// The item model over real row storages: the shape of the tree for each
// kind of view, expanding and collapsing through the model and through a
// tree view, cell data, edits with every outcome, and puts. Every model is
// watched by QAbstractItemModelTester in fatal mode.
#include "dataframework/qt/RowStorageModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QImage>
#include <QTreeView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/DerivedDataType.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/Errors.h"
#include "platform/Exception.h"
#include "platform/Picture.h"

namespace dataframework::qt {
namespace {

using namespace dataframework;

// One application for every test of the process (another test file may
// have made it already).
void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "rowstoragemodel_tests";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
}

std::string Text(const QVariant& Value) {
  return Value.toString().toUtf8().toStdString();
}

// Keys K1 (integer) and K2 (text), an aggregable Amount, a Name, a Boolean
// Done, a read-only Locked text and a calculated Twice (Amount x 2, written
// back as half; a negative value makes it raise). Rows 1/a, 1/b, 2/a.
class ModelFixture : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("MK1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("MK2", StringType(10, true));
  std::unique_ptr<TDataField> Amount = TDataField::CreateField("MAmount", DoubleType());
  std::unique_ptr<TDataField> Name = TDataField::CreateField("MName", StringType(20, true));
  std::unique_ptr<TDataField> Done = TDataField::CreateField("MDone", BooleanType());
  std::unique_ptr<TDataField> Locked = TDataField::CreateField("MLocked", StringType(10, true));
  std::unique_ptr<TCalcField> Twice = TCalcField::CreateCalc("MTwice", DoubleType(), false, false);
  std::unique_ptr<TDataTable> Table;
  std::unique_ptr<TRowStorage> Storage;
  std::unique_ptr<TRowStorageModel> Model;
  std::unique_ptr<QAbstractItemModelTester> Tester;
  std::vector<std::string> Reports;

  void SetUp() override {
    EnsureApplication();
    Amount->SetCaptions({"Amount"});
    Name->SetCaptions({"Name"});
    Done->SetCaptions({"Done"});
    Locked->SetDefaultReadOnly(true);
    Twice->SetOnCalcValue([this](const TCalcField*, const TAbstractRow* Row) {
      return DoubleValue(2 * ValueAsFloat(Row->ValueOf(Amount.get())));
    });
    Twice->SetOnDistributeValue([this](TCalcField*, TAbstractRow* Row, const TValue& Value) {
      if (ValueAsFloat(Value) < 0) throw platform::Exception("Twice takes no negative value");
      return Row->SetFieldValue(Amount.get(), DoubleValue(ValueAsFloat(Value) / 2));
    });
    MakeStorage({K1.get(), K2.get()});
  }
  void TearDown() override { DropStorage(); }

  void DropStorage() {
    Tester.reset();
    Model.reset();
    Storage.reset();
    Table.reset();
  }
  // A new storage with the given keys and rows 1/a, 1/b, 2/a (only the
  // first key's part when it is the one key).
  void MakeStorage(const std::vector<TDataField*>& Keys) {
    DropStorage();
    Table = TDataTable::CreateTable("ModelT", nullptr, Keys,
                                    {Amount.get(), Name.get(), Done.get(), Locked.get()}, nullptr);
    Storage = std::make_unique<TRowStorage>(Table.get());
    if (Keys.size() == 1) {
      Put(3, "", 30, "Čapek", true);
      Put(1, "", 10, "Müller", false);
      Put(2, "", 20, "Ωmega", true);
    } else {
      Put(1, "a", 10, "Müller", false);
      Put(1, "b", 5, "Zeta", true);
      Put(2, "a", 7, "Ωmega", false);
    }
  }
  std::unique_ptr<TDataRow> MakeRow(int k1, const std::string& k2, double amount,
                                    const std::string& name, bool done = false) {
    std::unique_ptr<TDataRow> row = Storage->CreateRow();
    row->SetFieldValue(K1.get(), IntegerValue(k1));
    if (Table->IndexOfField(K2.get()) >= 0) row->SetFieldValue(K2.get(), StringValue(k2));
    row->SetFieldValue(Amount.get(), DoubleValue(amount));
    row->SetFieldValue(Name.get(), StringValue(name));
    row->SetFieldValue(Done.get(), BooleanValue(done));
    row->SetFieldValue(Locked.get(), StringValue("fixed"));
    return row;
  }
  void Put(int k1, const std::string& k2, double amount, const std::string& name,
           bool done = false) {
    std::unique_ptr<TDataRow> row = MakeRow(k1, k2, amount, name, done);
    ASSERT_EQ(Storage->PutNewRow(row, paRefuse), prOk);
  }
  std::vector<TDataField*> AllColumns() const {
    return {K1.get(), K2.get(), Amount.get(), Name.get(), Done.get(), Locked.get(), Twice.get()};
  }
  void MakeModel(std::vector<TDataField*> Columns) {
    Tester.reset();
    Model = std::make_unique<TRowStorageModel>(*Storage, std::move(Columns));
    Model->SetOnResult([this](const std::string& Message) { Reports.push_back(Message); });
    Tester = std::make_unique<QAbstractItemModelTester>(
        Model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  }
  void MakeModel() { MakeModel(AllColumns()); }
  int ColumnOf(const TDataField* Field) const {
    const auto& columns = Model->Columns();
    for (size_t i = 0; i < columns.size(); ++i)
      if (columns[i] == Field) return static_cast<int>(i);
    return -1;
  }

  // "1/a" for a data row, "S<k1>" for a group, "root" for the grand total.
  std::string Describe(const TAbstractRow* Row) const {
    if (Row == nullptr) return "?";
    if (const auto* sub = dynamic_cast<const TSubTotalRow*>(Row)) {
      if (sub->Parent() == nullptr) return "root";
      return "S" + ValueAsString(Row->ValueOf(K1.get()));
    }
    std::string text = ValueAsString(Row->ValueOf(K1.get()));
    if (Table->IndexOfField(K2.get()) >= 0) text += "/" + ValueAsString(Row->ValueOf(K2.get()));
    return text;
  }
  // The model as text: children in brackets, "+" after a collapsed group.
  std::string Outline(const QModelIndex& Parent = QModelIndex()) const {
    std::string text;
    for (int i = 0; i < Model->rowCount(Parent); ++i) {
      const QModelIndex at = Model->index(i, 0, Parent);
      if (!text.empty()) text += " ";
      text += Describe(Model->RowAt(at));
      const int children = Model->rowCount(at);
      if (children == 0 && Model->hasChildren(at)) text += "+";
      if (children > 0) text += "(" + Outline(at) + ")";
    }
    return text;
  }
  TSubTotalRow* Group(int k1) const {
    TSubTotalRow* root = Storage->Root();
    int i;
    return root->FindChild(IntegerValue(k1), i) ? static_cast<TSubTotalRow*>(root->Child(i))
                                                : nullptr;
  }
  void ShowGroupsOnly() {
    Storage->GetTreeKey(1).SetVisible(true);
    Storage->DataLevelKey().SetVisible(false);
  }
  std::string CellText(const TAbstractRow* Row, const TDataField* Field,
                       int Role = Qt::DisplayRole) const {
    return Text(Model->data(Model->IndexOf(Row, ColumnOf(Field)), Role));
  }
};

TEST_F(ModelFixture, FlatStorageShowsRowsInKeyOrderWithTextsChecksAndNumbers) {
  MakeStorage({K1.get()});
  MakeModel({K1.get(), Name.get(), Done.get(), Amount.get()});
  EXPECT_EQ(Outline(), "1 2 3") << "one key level with its level hidden: a flat list in key order";
  ASSERT_EQ(Model->columnCount(), 4);
  EXPECT_EQ(Text(Model->headerData(1, Qt::Horizontal)), "Name");
  EXPECT_EQ(Text(Model->headerData(3, Qt::Horizontal)), "Amount");

  struct {
    int Row;
    const char* Name;
    Qt::CheckState Done;
    const char* Amount;
  } rows[] = {{0, "Müller", Qt::Unchecked, "10"},
              {1, "Ωmega", Qt::Checked, "20"},
              {2, "Čapek", Qt::Checked, "30"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Row);
    const QModelIndex name = Model->index(r.Row, 1);
    const QModelIndex done = Model->index(r.Row, 2);
    const QModelIndex amount = Model->index(r.Row, 3);
    EXPECT_FALSE(Model->hasChildren(name));
    EXPECT_FALSE(Model->parent(name).isValid());
    EXPECT_EQ(Model->data(name).toString(), QString::fromUtf8(r.Name)) << "UTF-8 text";
    EXPECT_EQ(Model->data(done, Qt::CheckStateRole).toInt(), static_cast<int>(r.Done));
    EXPECT_FALSE(Model->data(done).isValid()) << "a check box, no text";
    EXPECT_TRUE(Model->flags(done) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(Model->flags(done) & Qt::ItemIsEditable);
    EXPECT_TRUE(Model->flags(name) & Qt::ItemIsEditable);
    EXPECT_EQ(Text(Model->data(amount)), r.Amount);
    EXPECT_EQ(Model->data(amount, Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(Model->data(name, Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    EXPECT_FALSE(Model->data(name, Qt::CheckStateRole).isValid());
  }
  EXPECT_EQ(Model->RowAt(Model->index(1, 0)), Storage->LocateRow({"2"}));
  EXPECT_EQ(Model->IndexOf(Storage->LocateRow({"2"}), 3), Model->index(1, 3));
}

TEST_F(ModelFixture, ColumnsWithoutFieldAreRefused) {
  MakeModel({K1.get(), Name.get()});
  try {
    TRowStorageModel model(*Storage, {K1.get(), nullptr});
    FAIL() << "a null column was taken";
  } catch (const platform::EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "TRowStorageModel.Create: Columns[idx] <> nil, idx: 1");
  }
  EXPECT_THROW(Model->SetColumns({nullptr}), platform::EAssertionFailed);
  EXPECT_EQ(Model->columnCount(), 2) << "the columns stay";
  Model->SetColumns({Amount.get()});
  EXPECT_EQ(Text(Model->headerData(0, Qt::Horizontal)), "Amount");
}

TEST_F(ModelFixture, TreeFollowsTheShapeOfTheView) {
  struct {
    const char* Name;
    std::function<void()> Arrange;
    const char* Outline;
  } cases[] = {
      {"levels hidden: a flat list", [] {}, "1/a 1/b 2/a"},
      {"groups shown, rows hidden: collapsed groups", [this] { ShowGroupsOnly(); }, "S1+ S2+"},
      {"groups and rows shown", [this] { Storage->GetTreeKey(1).SetVisible(true); },
       "S1(1/a 1/b) S2(2/a)"},
      {"every level shown", [this] { Storage->SetLevelsVisible(true); },
       "root(S1(1/a 1/b) S2(2/a))"},
      {"totals below: parents still come first",
       [this] {
         Storage->SetLevelsVisible(true);
         Storage->SetTotalsBelow(true);
       },
       "root(S1(1/a 1/b) S2(2/a))"},
      {"flat mode",
       [this] {
         Storage->SetLevelsVisible(true);
         Storage->SetFlatMode(true);
       },
       "1/a 1/b 2/a"},
      {"an expanded group stands above its rows without a row of its own",
       [this] {
         ShowGroupsOnly();
         Storage->Expand(Group(1));
       },
       "S1(1/a 1/b) S2+"},
      {"a group shown at a hidden level is a collapsed node",
       [this] {
         Storage->Collapse(Storage->LocateRow({"2", "a"}));
       },
       "1/a 1/b S2+"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MakeStorage({K1.get(), K2.get()});
    c.Arrange();
    MakeModel();
    EXPECT_EQ(Outline(), c.Outline);
    // A second reading after a refresh gives the same tree.
    Model->Refresh();
    EXPECT_EQ(Outline(), c.Outline);
  }
}

TEST_F(ModelFixture, ExpandAndCollapseGoToTheStorage) {
  ShowGroupsOnly();
  MakeModel();
  TSubTotalRow* s1 = Group(1);
  TSubTotalRow* s2 = Group(2);
  ASSERT_EQ(Outline(), "S1+ S2+");
  EXPECT_EQ(CellText(s1, K1.get()), "1");
  EXPECT_EQ(CellText(s1, Amount.get()), "15") << "the group's total";
  EXPECT_EQ(CellText(s2, Amount.get()), "7");
  EXPECT_EQ(CellText(s1, K2.get()), "") << "a key below the group has no value there";
  EXPECT_EQ(CellText(s1, Name.get()), "") << "not aggregable";
  EXPECT_FALSE(Model->IsExpanded(Model->IndexOf(s1)));

  // Subtotals are read-only through the default handler.
  const QModelIndex total = Model->IndexOf(s1, ColumnOf(Amount.get()));
  EXPECT_FALSE(Model->flags(total) & Qt::ItemIsEditable);
  EXPECT_FALSE(Model->setData(total, "99"));
  EXPECT_EQ(Model->LastSetResult(), srReadOnly);
  EXPECT_EQ(CellText(s1, Amount.get()), "15");

  EXPECT_FALSE(Model->Collapse(Model->IndexOf(s1))) << "not expanded";
  ASSERT_TRUE(Model->Expand(Model->IndexOf(s1)));
  EXPECT_EQ(Outline(), "S1(1/a 1/b) S2+");
  const QModelIndex s1Index = Model->IndexOf(s1);
  EXPECT_TRUE(Model->IsExpanded(s1Index));
  EXPECT_FALSE(s1->Visible()) << "the storage's Expand hides the group's own row";
  EXPECT_EQ(Model->parent(Model->IndexOf(Storage->LocateRow({"1", "b"}))), s1Index);
  EXPECT_FALSE(Model->Expand(s1Index)) << "already expanded";
  EXPECT_FALSE(Model->Expand(Model->IndexOf(Storage->LocateRow({"1", "a"})))) << "a data row";

  ASSERT_TRUE(Model->Collapse(s1Index));
  EXPECT_EQ(Outline(), "S1+ S2+");
  EXPECT_TRUE(s1->Visible());
  EXPECT_FALSE(Storage->LocateRow({"1", "a"})->Visible());
  EXPECT_FALSE(Model->IsExpanded(Model->IndexOf(s1)));

  // Collapsing the grand total hides everything below it, also when its
  // first node is a row whose own group (at a hidden level) stands between.
  Storage->SetLevelsVisible(false);
  Storage->GetTreeKey(0).SetVisible(true);
  Storage->DataLevelKey().SetVisible(true);
  Model->Refresh();
  ASSERT_EQ(Outline(), "root(1/a 1/b 2/a)");
  ASSERT_TRUE(Model->Collapse(Model->IndexOf(Storage->Root())));
  EXPECT_EQ(Outline(), "root+");
}

TEST_F(ModelFixture, TreeViewExpandsAndCollapsesTheStorage) {
  ShowGroupsOnly();
  MakeModel();
  QTreeView view;
  ConnectTreeView(view, *Model);
  ASSERT_EQ(view.model(), Model.get());
  TSubTotalRow* s1 = Group(1);
  TSubTotalRow* s2 = Group(2);
  // Every node's expansion in the view equals the model's (the storage's).
  auto viewMatches = [&]() {
    for (TSubTotalRow* group : {s1, s2}) {
      const QModelIndex at = Model->IndexOf(group);
      if (view.isExpanded(at) != Model->IsExpanded(at)) return false;
    }
    return true;
  };

  view.expand(Model->IndexOf(s1));
  QCoreApplication::processEvents();
  EXPECT_EQ(Outline(), "S1(1/a 1/b) S2+");
  EXPECT_FALSE(s1->Visible());
  EXPECT_TRUE(view.isExpanded(Model->IndexOf(s1))) << "expanded again after the reset";
  EXPECT_TRUE(viewMatches());

  view.collapse(Model->IndexOf(s1));
  QCoreApplication::processEvents();
  EXPECT_EQ(Outline(), "S1+ S2+");
  EXPECT_TRUE(s1->Visible());
  EXPECT_TRUE(viewMatches());

  // Changes made outside: after the refresh the view shows the storage's state.
  Storage->Expand(s2);
  Model->Refresh();
  EXPECT_TRUE(view.isExpanded(Model->IndexOf(s2)));
  EXPECT_FALSE(view.isExpanded(Model->IndexOf(s1)));
  Storage->Expand(s1);
  Storage->Collapse(Storage->LocateRow({"2", "a"}));
  Model->Refresh();
  EXPECT_EQ(Outline(), "S1(1/a 1/b) S2+");
  EXPECT_TRUE(viewMatches());
  QCoreApplication::processEvents();
  EXPECT_EQ(Outline(), "S1(1/a 1/b) S2+") << "the view's own expansions did not reach the storage";

  // A view linked again keeps one link.
  ConnectTreeView(view, *Model);
  EXPECT_EQ(view.findChildren<QObject*>(QStringLiteral("qt_rowstoragemodel_link")).size(), 1);
}

TEST_F(ModelFixture, EditsReportTheirOutcome) {
  struct {
    const char* Name;
    TDataField* Field;  // written in row 1/a
    QVariant Value;
    int Role;
    bool Accepted;
    TSetResult Result;
    const char* Message;
    TDataField* ReadBack;  // read from the row afterwards
    const char* ReadText;
    const char* Outline;  // the model afterwards
  } cases[] = {
      {"a valid text", Name.get(), "Zoë", Qt::EditRole, true, srOk, "Ok", Name.get(), "Zoë",
       "1/a 1/b 2/a"},
      {"a number", Amount.get(), "12.5", Qt::EditRole, true, srOk, "Ok", Amount.get(), "12.5",
       "1/a 1/b 2/a"},
      {"an unparsable number", Amount.get(), "12x", Qt::EditRole, false, srInvalidValue,
       "The given value '12x' is not a valid number!", Amount.get(), "10", "1/a 1/b 2/a"},
      {"a check box", Done.get(), static_cast<int>(Qt::Checked), Qt::CheckStateRole, true, srOk,
       "Ok", Done.get(), "T", "1/a 1/b 2/a"},
      {"a read-only field", Locked.get(), "new", Qt::EditRole, false, srReadOnly,
       "Field is ReadOnly!", Locked.get(), "fixed", "1/a 1/b 2/a"},
      {"a key already taken", K2.get(), "b", Qt::EditRole, false, srKeyConflict,
       "This key combination already exists for a row.", K2.get(), "a", "1/a 1/b 2/a"},
      {"a free key moves the row", K2.get(), "c", Qt::EditRole, true, srOk, "Ok", K2.get(), "c",
       "1/b 1/c 2/a"},
      {"a calculated field writes through", Twice.get(), "30", Qt::EditRole, true, srOk, "Ok",
       Amount.get(), "15", "1/a 1/b 2/a"},
      {"an error raised by the framework is reported", Twice.get(), "-2", Qt::EditRole, false,
       srInvalidValue, "Twice takes no negative value", Amount.get(), "10", "1/a 1/b 2/a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MakeStorage({K1.get(), K2.get()});
    MakeModel();
    Reports.clear();
    TDataRow* row = Storage->LocateRow({"1", "a"});
    const QModelIndex at = Model->IndexOf(row, ColumnOf(c.Field));
    const Qt::ItemFlags editable =
        c.Role == Qt::CheckStateRole ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    EXPECT_EQ(static_cast<bool>(Model->flags(at) & editable), c.Result != srReadOnly);

    EXPECT_EQ(Model->setData(at, c.Value, c.Role), c.Accepted);
    EXPECT_EQ(Model->LastSetResult(), c.Result);
    EXPECT_EQ(Model->LastMessage(), c.Message);
    EXPECT_EQ(Reports, std::vector<std::string>{c.Message}) << "the callback hears it once";
    EXPECT_EQ(ValueAsString(row->ValueOf(c.ReadBack)), c.ReadText);
    EXPECT_EQ(Outline(), c.Outline);
    EXPECT_EQ(Text(Model->data(Model->IndexOf(row, ColumnOf(c.ReadBack)), Qt::EditRole)),
              c.ReadBack == Done.get() ? "" : c.ReadText)
        << "the model shows the row's value";
  }
}

TEST_F(ModelFixture, AnEditTellsTheViewsOfTheRowAndTheTotalsAbove) {
  Storage->SetLevelsVisible(true);
  MakeModel();
  TDataRow* row = Storage->LocateRow({"1", "b"});
  std::vector<std::string> changed;
  QObject::connect(Model.get(), &QAbstractItemModel::dataChanged,
                   [&](const QModelIndex& TopLeft, const QModelIndex& BottomRight) {
                     EXPECT_EQ(TopLeft.column(), 0);
                     EXPECT_EQ(BottomRight.column(), Model->columnCount() - 1);
                     EXPECT_EQ(TopLeft.row(), BottomRight.row());
                     changed.push_back(Describe(Model->RowAt(TopLeft)));
                   });
  int resets = 0;
  QObject::connect(Model.get(), &QAbstractItemModel::modelReset, [&] { ++resets; });

  ASSERT_TRUE(Model->setData(Model->IndexOf(row, ColumnOf(Amount.get())), "25"));
  EXPECT_EQ(changed, (std::vector<std::string>{"1/b", "S1", "root"}));
  EXPECT_EQ(resets, 0) << "a plain value keeps the tree";
  EXPECT_EQ(CellText(Group(1), Amount.get()), "35");
  EXPECT_EQ(CellText(Storage->Root(), Amount.get()), "42");
  EXPECT_EQ(CellText(row, Twice.get()), "50") << "the calculated field follows";
}

TEST_F(ModelFixture, PicturesAreShownAsImages) {
  platform::TPicture picture(2, 1);
  picture.SetPixel(0, 0, 0x80FF0000u);
  picture.SetPixel(1, 0, 0xFF00FF00u);
  auto mark = TCalcField::CreateCalc("MMark", PictureType(), true, false);
  mark->SetOnCalcValue(
      [&](const TCalcField*, const TAbstractRow*) { return PictureValue(&picture); });
  MakeModel({K1.get(), mark.get()});
  const QModelIndex at = Model->index(0, 1);
  const QVariant decoration = Model->data(at, Qt::DecorationRole);
  ASSERT_TRUE(decoration.canConvert<QImage>());
  const QImage image = decoration.value<QImage>();
  ASSERT_EQ(image.size(), QSize(2, 1));
  EXPECT_EQ(image.pixel(0, 0), 0x80FF0000u);
  EXPECT_EQ(image.pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(Model->data(Model->index(1, 1), Qt::DecorationRole).value<QImage>().cacheKey(),
            image.cacheKey())
      << "one image per picture";
  EXPECT_FALSE(Model->data(at).isValid()) << "no address text";
  EXPECT_FALSE(Model->flags(at) & Qt::ItemIsEditable);
  DropStorage();  // the model goes before the field it shows
}

TEST_F(ModelFixture, PutRowReportsThePutResult) {
  struct {
    const char* Name;
    int K1;
    const char* K2;
    TPutAction Action;
    TPutResult Result;
    const char* Message;
    bool Kept;  // the storage took the row
    const char* Outline;
  } cases[] = {
      {"a new key", 3, "a", paRefuse, prOk, "Ok", true, "1/a 1/b 2/a 3/a"},
      {"a taken key", 1, "a", paRefuse, prKeyConflict, "Key conflict", false, "1/a 1/b 2/a"},
      {"a taken key overwritten", 1, "a", paOverwrite, prKeyOverwrited, "Key overwrited", true,
       "1/a 1/b 2/a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MakeStorage({K1.get(), K2.get()});
    MakeModel();
    Reports.clear();
    std::unique_ptr<TDataRow> row = MakeRow(c.K1, c.K2, 99, "new");
    TDataRow* raw = row.get();
    EXPECT_EQ(Model->PutRow(row, c.Action), c.Result);
    EXPECT_EQ(Model->LastPutResult(), c.Result);
    EXPECT_EQ(Model->LastMessage(), c.Message);
    EXPECT_EQ(Reports, std::vector<std::string>{c.Message});
    EXPECT_EQ(row == nullptr, c.Kept) << "the caller keeps a refused row";
    EXPECT_EQ(Outline(), c.Outline);
    EXPECT_EQ(Model->IndexOf(raw).isValid(), c.Kept);
    if (c.Kept) {
      EXPECT_EQ(CellText(raw, Amount.get()), "99");
    }
  }
}

// A storage that patches its view instead of rebuilding it: it does not
// follow visibility changes, nor puts without a position.
class TPatchingStorage : public TCustomRowStorage {
 public:
  using TCustomRowStorage::TCustomRowStorage;
  bool DeferredTotals() const override { return false; }
  void SetDeferredTotals(bool) override {}
  std::unique_ptr<TCustomRowStorage> Clone() const override { return nullptr; }
};

TEST_F(ModelFixture, APatchingStorageIsReadAfreshOnEveryRebuild) {
  DropStorage();
  Table = TDataTable::CreateTable("ModelT", nullptr, {K1.get(), K2.get()},
                                  {Amount.get(), Name.get(), Done.get(), Locked.get()}, nullptr);
  TPatchingStorage patching(Table.get());
  for (int k1 : {1, 2}) {
    std::unique_ptr<TDataRow> row = TDataRow::CreateFromDefaults(Table.get());
    row->SetFieldValue(K1.get(), IntegerValue(k1));
    row->SetFieldValue(K2.get(), StringValue("a"));
    ASSERT_EQ(patching.PutNewRow(row, paRefuse), prOk);
  }
  patching.GetTreeKey(1).SetVisible(true);
  patching.DataLevelKey().SetVisible(false);
  Model = std::make_unique<TRowStorageModel>(patching, std::vector<TDataField*>{K1.get()});
  Tester = std::make_unique<QAbstractItemModelTester>(
      Model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  ASSERT_EQ(Outline(), "S1+ S2+");

  ASSERT_TRUE(Model->Expand(Model->index(0, 0)));
  EXPECT_EQ(Outline(), "S1(1/a) S2+");
  std::unique_ptr<TDataRow> row = patching.CreateRow();  // hidden, as its level
  row->SetFieldValue(K1.get(), IntegerValue(3));
  row->SetFieldValue(K2.get(), StringValue("a"));
  ASSERT_EQ(Model->PutRow(row, paRefuse), prOk);
  EXPECT_EQ(Outline(), "S1(1/a) S2+ S3+");
  ASSERT_TRUE(Model->Collapse(Model->index(0, 0)));
  EXPECT_EQ(Outline(), "S1+ S2+ S3+");
  Tester.reset();
  Model.reset();
}

}  // namespace
}  // namespace dataframework::qt
