// What a storage tells its listeners: the notes of each operation, in
// order, closed by exactly one ChangesDone for the outermost operation; a
// removed listener hears nothing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"

namespace dataframework {
namespace {

// Notes as text: "inserted 1/a", "done", ...
class TRecorder : public TRowStorageListener {
 public:
  std::vector<std::string> Notes;
  TDataField* K1 = nullptr;
  TDataField* K2 = nullptr;

  std::string Name(const TAbstractRow& Row) const {
    if (Row.IsSubTotal())
      return Row.Parent() == nullptr ? "root" : "S" + ValueAsString(Row.ValueOf(K1));
    return ValueAsString(Row.ValueOf(K1)) + "/" + ValueAsString(Row.ValueOf(K2));
  }
  void RowInserted(TAbstractRowStorage&, TAbstractRow& Row) override {
    Notes.push_back("inserted " + Name(Row));
  }
  void RowRemoving(TAbstractRowStorage&, TAbstractRow& Row) override {
    Notes.push_back("removing " + Name(Row));
  }
  void RowValuesChanged(TAbstractRowStorage&, TAbstractRow& Row) override {
    Notes.push_back("values " + Name(Row));
  }
  void RowMoved(TAbstractRowStorage&, TAbstractRow& Row) override {
    Notes.push_back("moved " + Name(Row));
  }
  void RowVisibilityChanged(TAbstractRowStorage&, TAbstractRow& Row) override {
    Notes.push_back("visibility " + Name(Row));
  }
  void SubtreeExpanded(TAbstractRowStorage&, TSubTotalRow& Row) override {
    Notes.push_back("expanded " + Name(Row));
  }
  void SubtreeCollapsed(TAbstractRowStorage&, TSubTotalRow& Row) override {
    Notes.push_back("collapsed " + Name(Row));
  }
  void ViewReset(TAbstractRowStorage&) override { Notes.push_back("reset"); }
  void ChangesDone(TAbstractRowStorage&) override { Notes.push_back("done"); }
};

class ListenerFixture : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("LK1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("LK2", StringType(4, true));
  std::unique_ptr<TDataField> Amount = TDataField::CreateField("LAmount", DoubleType());
  std::unique_ptr<TDataTable> Table;
  std::unique_ptr<TRowStorage> Storage;
  TRecorder Recorder;

  void SetUp() override {
    Amount->SetIsAggregable(true);
    Table =
        TDataTable::CreateTable("ListenT", nullptr, {K1.get(), K2.get()}, {Amount.get()}, nullptr);
    Storage = std::make_unique<TRowStorage>(Table.get());
    Put(1, "a");
    Put(1, "b");
    Put(2, "a");
    Recorder.K1 = K1.get();
    Recorder.K2 = K2.get();
    Storage->AddListener(&Recorder);
    Storage->AddListener(&Recorder);  // once only
  }
  void TearDown() override { Storage->RemoveListener(&Recorder); }
  TPutResult Put(int k1, const std::string& k2, TPutAction Action = paRefuse) {
    std::unique_ptr<TDataRow> row = Storage->CreateRow();
    row->SetFieldValue(K1.get(), IntegerValue(k1));
    row->SetFieldValue(K2.get(), StringValue(k2));
    return Storage->PutNewRow(row, Action);
  }
  std::vector<std::string> Take() {
    std::vector<std::string> notes = std::move(Recorder.Notes);
    Recorder.Notes.clear();
    return notes;
  }
};

using Notes = std::vector<std::string>;

TEST_F(ListenerFixture, EachOperationSendsItsNotesAndOneChangesDone) {
  EXPECT_EQ(Put(3, "c"), prOk);
  EXPECT_EQ(Take(), (Notes{"inserted 3/c", "done"}));
  EXPECT_EQ(Put(3, "c"), prKeyConflict);
  EXPECT_EQ(Take(), Notes{}) << "a refused put changes nothing";

  TDataRow* row = Storage->LocateRow({"1", "b"});
  ASSERT_EQ(row->SetFieldValue(Amount.get(), DoubleValue(5)), srOk);
  EXPECT_EQ(Take(), (Notes{"values 1/b", "done"}));
  ASSERT_EQ(row->SetFieldValue(Amount.get(), DoubleValue(5)), srOk);
  EXPECT_EQ(Take(), Notes{}) << "an equal value writes nothing";

  // A key write: the row is filed under its new key, its old place (held
  // by a copy) goes, then the move; one ChangesDone for all of it.
  ASSERT_EQ(row->SetFieldValue(K1.get(), IntegerValue(4)), srOk);
  EXPECT_EQ(Take(), (Notes{"inserted 4/b", "inserted 1/b", "removing 1/b", "removing 1/b",
                           "moved 4/b", "done"}));

  // A delete that empties its group takes the group too.
  Storage->LocateRow({"2", "a"})->Delete(true);
  EXPECT_EQ(Take(), (Notes{"removing 2/a", "removing 2/a", "removing S2", "done"}));
}

TEST_F(ListenerFixture, ExpandCollapseAndViewOptions) {
  Storage->GetTreeKey(1).SetVisible(true);
  Notes notes = Take();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes.back(), "done");
  EXPECT_EQ(notes[notes.size() - 2], "reset") << "a level's visibility is view-wide";

  TSubTotalRow* s1 = Storage->LocateRow({"1", "a"})->Parent();
  Storage->Collapse(Storage->LocateRow({"1", "a"}));
  EXPECT_EQ(Take(), (Notes{"visibility 1/a", "visibility 1/b", "collapsed S1", "done"}))
      << "S1 was shown already";
  Storage->Expand(s1);
  EXPECT_EQ(Take(),
            (Notes{"visibility S1", "visibility 1/a", "visibility 1/b", "expanded S1", "done"}));

  Storage->SetTotalsBelow(true);
  EXPECT_EQ(Take(), (Notes{"reset", "done"}));
  Storage->SetTotalsBelow(true);
  EXPECT_EQ(Take(), Notes{}) << "unchanged";
  Storage->SetFlatMode(true);
  EXPECT_EQ(Take(), (Notes{"reset", "done"}));

  Storage->RemoveListener(&Recorder);
  EXPECT_EQ(Put(9, "z"), prOk);
  EXPECT_EQ(Take(), Notes{}) << "a removed listener hears nothing";
}

}  // namespace
}  // namespace dataframework
