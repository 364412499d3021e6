// A randomised differential test of the row storage against a plain ordered
// map of key to values.
//
// Thousands of random steps (puts with every put action, value writes, key
// writes with both set actions, deletes, get-rows in every mode with random
// criteria and quilts, subtotal writes through a writable handler with undo,
// expand and collapse and the view options) run on a TRowStorage over a
// table of three keys; after each step the tree is checked against the map
// and against its own invariants. The seed is fixed; a failure prints it and
// the step. CLAVIRA_STORAGE_SEED and CLAVIRA_STORAGE_STEPS override seed and
// step count to replay or to run longer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

#include "dataframework/conditions/QuiltPatch.h"
#include "dataframework/elements/tests/StorageFixture.h"
#include "dataframework/elements/internal/SubTotalChildren.h"
#include "platform/Exception.h"
#include "platform/Random.h"

namespace dataframework::storagetest {
namespace {

using TKey = std::tuple<int, std::string, int>;

struct TModelRow {
  double V = 0;
  std::string N;
  TRowState State = rsInserted;
};

using TModel = std::map<TKey, TModelRow>;

constexpr double Tolerance = 1e-6;

// A writable handler that, when armed, fails after distributing a write into
// its target row, so the undo must take back everything the write did.
class TFlakyHandler : public TSubTotalHandler {
 public:
  TFlakyHandler() : TSubTotalHandler(true) {}
  void Distribute(TAbstractRowStorage* Storage, TSubTotalRow* Row, const TValue& Value,
                  TDataField* Field) override {
    TSubTotalHandler::Distribute(Storage, Row, Value, Field);
    if (FailingRow != nullptr && Row == FailingRow) throw platform::Exception("flaky write");
  }
  TSubTotalRow* FailingRow = nullptr;
};

unsigned EnvNumber(const char* Name, unsigned Default) {
  const char* text = std::getenv(Name);
  return text != nullptr && *text != '\0' ? static_cast<unsigned>(std::strtoul(text, nullptr, 10))
                                          : Default;
}

class StorageDifferentialTest : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> K1 = TKeyField::CreateSimpleKey("DK1", IntegerType());
  std::unique_ptr<TKeyField> K2 = TKeyField::CreateSimpleKey("DK2", StringType(4, true));
  std::unique_ptr<TKeyField> K3 = TKeyField::CreateSimpleKey("DK3", IntegerType());
  std::unique_ptr<TDataField> V = TDataField::CreateField("DV", DoubleType());
  std::unique_ptr<TDataField> N = TDataField::CreateField("DN", StringType(4, true));
  std::unique_ptr<TDataTable> Table = TDataTable::CreateTable(
      "DiffT", nullptr, {K1.get(), K2.get(), K3.get()}, {V.get(), N.get()}, nullptr);
  std::unique_ptr<TRowStorage> Storage = std::make_unique<TRowStorage>(Table.get());
  TFlakyHandler* Handler = nullptr;

  std::mt19937 Gen;
  TModel Model;
  int ExpectedDeleted = 0;
  std::string Step;  // what the current step did, for the failure message

  void SetUp() override {
    auto handler = std::make_unique<TFlakyHandler>();
    Handler = handler.get();
    Storage->SetSubTotalHandler(std::move(handler));
  }
  void TearDown() override {
    Storage.reset();
    Table.reset();
  }

  // ------------------------------------------------------------ drawing
  int Draw(int Range) { return static_cast<int>(Gen() % static_cast<unsigned>(Range)); }
  bool Chance(int Percent) { return Draw(100) < Percent; }
  TKey DrawKey() { return {Draw(4), std::string(1, static_cast<char>('a' + Draw(4))), Draw(5)}; }
  double DrawV() { return static_cast<double>(Draw(41) - 20); }
  std::string DrawN() {
    static const char* names[] = {"", "x", "y"};
    return names[Draw(3)];
  }
  static std::string KeyText(const TKey& Key) {
    return std::to_string(std::get<0>(Key)) + "/" + std::get<1>(Key) + "/" +
           std::to_string(std::get<2>(Key));
  }
  static std::vector<std::string> KeyTexts(const TKey& Key) {
    return {std::to_string(std::get<0>(Key)), std::get<1>(Key), std::to_string(std::get<2>(Key))};
  }
  // A stored key, or false when the storage is empty.
  bool DrawStoredKey(TKey& Key) {
    if (Model.empty()) return false;
    auto it = Model.begin();
    std::advance(it, Draw(static_cast<int>(Model.size())));
    Key = it->first;
    return true;
  }

  // --------------------------------------------------------- reading rows
  TKey KeyOf(const TAbstractRow* Row) const {
    return {ValueAsInteger(Row->ValueOf(K1.get())), ValueAsString(Row->ValueOf(K2.get())),
            ValueAsInteger(Row->ValueOf(K3.get()))};
  }
  static bool IsLoaded(TRowState State) { return State == rsUnchanged || State == rsModified; }
  // The old row leaves the tree: a loaded one waits in the deleted rows.
  void Discard(const TModelRow& Row) {
    if (IsLoaded(Row.State)) ++ExpectedDeleted;
  }

  // ----------------------------------------------------------------- puts
  void StepPut() {
    static const TPutAction actions[] = {paRefuse,  paOverwrite, paOverwriteChanged, paAddStrict,
                                         paAddKeep, paAddFill,   paAddTake,          paReinsert};
    TKey key = DrawKey();
    auto found = Model.find(key);
    TPutAction action = actions[Draw(found == Model.end() ? 7 : 8)];
    TModelRow fresh{DrawV(), DrawN(), rsInserted};
    if (found != Model.end() && Chance(30)) {
      // The stored row's own values (the map's V may differ by rounding).
      TDataRow* stored = Storage->LocateRow(KeyTexts(key));
      ASSERT_NE(stored, nullptr);
      found->second.V = ValueAsFloat(stored->ValueOf(V.get()));
      fresh = TModelRow{found->second.V, found->second.N};
    }
    Step = "put " + KeyText(key) + " action " + std::to_string(action);

    std::unique_ptr<TDataRow> row = Storage->CreateRow();
    row->SetFieldValue(K1.get(), IntegerValue(std::get<0>(key)));
    row->SetFieldValue(K2.get(), StringValue(std::get<1>(key)));
    row->SetFieldValue(K3.get(), IntegerValue(std::get<2>(key)));
    row->SetFieldValue(V.get(), DoubleValue(fresh.V));
    row->SetFieldValue(N.get(), StringValue(fresh.N));
    TDataRow* raw = row.get();
    TPutResult result = Storage->PutNewRow(row, action);

    TPutResult expected = prOk;
    if (found == Model.end()) {
      Model[key] = fresh;
    } else {
      TModelRow& old = found->second;
      switch (action) {
        case paRefuse:
        case paReinsert:
          expected = prKeyConflict;
          break;
        case paOverwrite:
          expected = prKeyOverwrited;
          break;
        case paOverwriteChanged:
          expected = fresh.V == old.V && fresh.N == old.N ? prCannotAdd : prKeyOverwrited;
          break;
        case paAddStrict:
          expected = fresh.N == old.N ? prRowsAdded : prCannotAdd;
          break;
        default:
          expected = prRowsAdded;
          break;
      }
      if (expected == prKeyOverwrited || expected == prRowsAdded) {
        TModelRow merged = fresh;
        if (expected == prRowsAdded) {
          merged.V = fresh.V + old.V;
          if (action == paAddTake || (action == paAddFill && fresh.N.empty())) merged.N = old.N;
        }
        Discard(old);
        old = merged;
      }
    }
    ASSERT_EQ(static_cast<int>(result), static_cast<int>(expected));
    bool stored = expected == prOk || expected == prKeyOverwrited || expected == prRowsAdded;
    ASSERT_EQ(row == nullptr, stored);
    if (stored && Chance(30)) {
      raw->SetState(rsUnchanged);  // as if loaded from the database
      Model[key].State = rsUnchanged;
    }
  }

  // -------------------------------------------------------- value writes
  void StepValueWrite() {
    TKey key;
    if (!DrawStoredKey(key)) return;
    TDataRow* row = Storage->LocateRow(KeyTexts(key));
    ASSERT_NE(row, nullptr);
    TModelRow& m = Model[key];
    bool changed;
    if (Chance(50)) {
      double v = DrawV();
      Step = "write V " + KeyText(key);
      changed = v != m.V;
      ASSERT_EQ(row->SetFieldValue(V.get(), DoubleValue(v)), srOk);
      m.V = v;
    } else {
      std::string n = DrawN();
      Step = "write N " + KeyText(key);
      changed = n != m.N;
      ASSERT_EQ(row->SetFieldValue(N.get(), StringValue(n)), srOk);
      m.N = n;
    }
    if (changed && m.State == rsUnchanged) m.State = rsModified;
  }

  // ---------------------------------------------------------- key writes
  void StepKeyWrite() {
    TKey key;
    if (!DrawStoredKey(key)) return;
    TDataRow* row = Storage->LocateRow(KeyTexts(key));
    ASSERT_NE(row, nullptr);
    TSetAction action = Chance(50) ? saRefuse : saOverwrite;
    TKey target = key;
    int which = Draw(3);
    TSetResult result;
    if (which == 0) {
      std::get<0>(target) = Draw(4);
      result = row->SetFieldValueEx(K1.get(), IntegerValue(std::get<0>(target)), action);
    } else if (which == 1) {
      std::get<1>(target) = std::string(1, static_cast<char>('a' + Draw(4)));
      result = row->SetFieldValueEx(K2.get(), StringValue(std::get<1>(target)), action);
    } else {
      std::get<2>(target) = Draw(5);
      result = row->SetFieldValueEx(K3.get(), IntegerValue(std::get<2>(target)), action);
    }
    Step = "key write " + KeyText(key) + " -> " + KeyText(target) + " action " +
           std::to_string(action);
    if (target == key) {
      ASSERT_EQ(result, srOk);
      return;
    }
    auto taken = Model.find(target);
    if (taken != Model.end() && action == saRefuse) {
      ASSERT_EQ(result, srKeyConflict);
      return;
    }
    ASSERT_EQ(result, taken == Model.end() ? srOk : srKeyOverwrited);
    TModelRow moved = Model[key];
    Discard(moved);  // the old key leaves like a deleted row
    if (taken != Model.end()) Discard(taken->second);
    Model.erase(key);
    moved.State = rsInserted;
    Model[target] = moved;
  }

  // -------------------------------------------------------------- deletes
  void StepDelete() {
    TKey key;
    if (!DrawStoredKey(key)) return;
    Step = "delete " + KeyText(key);
    TDataRow* row = Storage->LocateRow(KeyTexts(key));
    ASSERT_NE(row, nullptr);
    row->Delete(true);
    Discard(Model[key]);
    Model.erase(key);
  }

  // ------------------------------------------------------------- get rows
  struct TDrawnCriteria {
    std::set<int> K1;          // empty: all
    std::string K2From, K2To;  // empty From: all
    std::set<int> K3;
    std::string N;  // restricts N when UsesN
    bool UsesN = false;
    double VFrom = 0, VTo = 0;
    bool UsesV = false;

    bool Accepts(const TKey& Key, const TModelRow& Row) const {
      if (!K1.empty() && K1.count(std::get<0>(Key)) == 0) return false;
      if (!K2From.empty() && (std::get<1>(Key) < K2From || std::get<1>(Key) > K2To)) return false;
      if (!K3.empty() && K3.count(std::get<2>(Key)) == 0) return false;
      if (UsesN && Row.N != N) return false;
      if (UsesV && (Row.V < VFrom || Row.V > VTo)) return false;
      return true;
    }
  };

  std::unique_ptr<TCriteria> MakeCriteria(TDrawnCriteria& D) {
    auto criteria = std::make_unique<TCriteria>();
    if (Chance(50)) {
      for (int i = 0, n = 1 + Draw(2); i < n; ++i) D.K1.insert(Draw(4));
      for (int v : D.K1) criteria->FindCriteriaField(K1.get(), true)->AddValue(IntegerValue(v));
    }
    if (Chance(40)) {
      char a = static_cast<char>('a' + Draw(4)), b = static_cast<char>('a' + Draw(4));
      if (a > b) std::swap(a, b);
      D.K2From = std::string(1, a);
      D.K2To = std::string(1, b);
      criteria->FindCriteriaField(K2.get(), true)
          ->AddInterval(StringValue(D.K2From), StringValue(D.K2To));
    }
    if (Chance(40)) {
      for (int i = 0, n = 1 + Draw(3); i < n; ++i) D.K3.insert(Draw(5));
      for (int v : D.K3) criteria->FindCriteriaField(K3.get(), true)->AddValue(IntegerValue(v));
    }
    if (Chance(20)) {
      D.UsesN = true;
      D.N = DrawN();
      criteria->FindCriteriaField(N.get(), true)->AddValue(StringValue(D.N));
    }
    if (Chance(10)) {
      D.UsesV = true;
      D.VFrom = DrawV();
      D.VTo = D.VFrom + Draw(20);
      criteria->FindCriteriaField(V.get(), true)
          ->AddInterval(DoubleValue(D.VFrom), DoubleValue(D.VTo));
    }
    return criteria;
  }

  void StepGetRows() {
    TDrawnCriteria drawn;
    std::unique_ptr<TCriteria> criteria = MakeCriteria(drawn);
    std::unique_ptr<TQuiltPatch> patch;
    const TCondition* condition = criteria.get();
    bool asQuilt = Chance(30);
    if (asQuilt) {
      patch = criteria->AsQuiltPatch();
      condition = patch.get();
    }
    TGetRowsMode mode = static_cast<TGetRowsMode>(Draw(4));
    Step = std::string("get rows mode ") + std::to_string(mode) + (asQuilt ? " (quilt)" : "");

    std::vector<TKey> expected;
    for (const auto& [key, row] : Model) {
      if (drawn.Accepts(key, row)) expected.push_back(key);
    }
    ASSERT_EQ(Storage->HasRows(condition), !expected.empty());

    TOwnedCopies delivered;  // frees the copies; plain rows are not in it
    platform::TStringList rows;
    platform::TStrings* results =
        mode == gmRows ? static_cast<platform::TStrings*>(&rows) : &delivered.List;
    Storage->GetRows(mode == gmDelete && Chance(50) ? nullptr : results, condition, mode);
    std::vector<TKey> got;
    for (TAbstractRow* row : RowsOf(*results)) got.push_back(KeyOf(row));
    if (mode == gmDelete) {
      ASSERT_TRUE(got.empty()) << "gmDelete delivers nothing";
    } else {
      ASSERT_EQ(got, expected);
    }
    for (TAbstractRow* row : RowsOf(*results)) {
      if (mode == gmRows) {
        ASSERT_EQ(row->Storage(), Storage.get());
      } else {
        ASSERT_EQ(row->Storage(), nullptr) << "copies are free rows";
        ASSERT_EQ(static_cast<TDataRow*>(row)->State(), rsExternControlled);
      }
    }
    if (mode == gmMoveOut || mode == gmDelete) {
      for (const TKey& key : expected) {
        Discard(Model[key]);
        Model.erase(key);
      }
    }
  }

  // ------------------------------------------------------- subtotal writes
  std::vector<TSubTotalRow*> SubTotals() const {
    std::vector<TSubTotalRow*> all;
    std::vector<TSubTotalRow*> todo{Storage->Root()};
    while (!todo.empty()) {
      TSubTotalRow* row = todo.back();
      todo.pop_back();
      all.push_back(row);
      if (row->IsLastLevel()) continue;
      for (int i = 0; i < row->ChildCount(); ++i) {
        todo.push_back(static_cast<TSubTotalRow*>(row->Child(i)));
      }
    }
    return all;
  }
  // The leading keys a subtotal row stands for (its level's count of them).
  std::vector<std::string> PrefixOf(const TSubTotalRow* Row) const {
    std::vector<std::string> prefix;
    for (int level = 0; level < Row->LevelIndex(); ++level) {
      prefix.push_back(ValueAsString(Row->ValueOf(Storage->GetTreeKey(level).Field())));
    }
    return prefix;
  }
  static bool HasPrefix(const TKey& Key, const std::vector<std::string>& Prefix) {
    std::vector<std::string> texts = KeyTexts(Key);
    for (size_t i = 0; i < Prefix.size(); ++i) {
      if (texts[i] != Prefix[i]) return false;
    }
    return true;
  }
  // The even split of Diff over the children below Prefix, level by level,
  // as the model sees it: each row's share is added to its V.
  void ModelDistribute(std::vector<std::string> Prefix, double Diff,
                       std::map<TKey, double>& Shares) {
    std::set<std::string> children;
    std::map<std::string, TKey> rowsByChild;
    for (const auto& [key, row] : Model) {
      if (!HasPrefix(key, Prefix)) continue;
      std::string child = KeyTexts(key)[Prefix.size()];
      children.insert(child);
      rowsByChild[child] = key;
    }
    if (children.empty()) return;
    double share = Diff / static_cast<double>(children.size());
    for (const std::string& child : children) {
      if (Prefix.size() == 2) {
        Shares[rowsByChild[child]] += share;
      } else {
        std::vector<std::string> deeper = Prefix;
        deeper.push_back(child);
        ModelDistribute(deeper, share, Shares);
      }
    }
  }

  void StepSubTotalWrite() {
    std::vector<TSubTotalRow*> subTotals = SubTotals();
    TSubTotalRow* target = subTotals[static_cast<size_t>(Draw(static_cast<int>(subTotals.size())))];
    std::vector<std::string> prefix = PrefixOf(target);
    double total = DrawV() * 2;
    bool fail = Chance(25);
    Step = std::string("subtotal write at level ") + std::to_string(target->LevelIndex()) +
           (fail ? " (failing)" : "");
    if (target->ChildCount() == 0) {
      try {
        target->SetFieldValue(V.get(), DoubleValue(total));
        FAIL() << "a subtotal without children took a value";
      } catch (const platform::Exception& e) {
        ASSERT_STREQ(e.what(), "Cannot distribute value because the subtotal has no child rows!");
      }
      return;
    }
    double old = 0;
    for (const auto& [key, row] : Model) {
      if (HasPrefix(key, prefix)) old += row.V;
    }
    // A write of (nearly) the old total changes nothing or only by rounding,
    // which the map cannot follow exactly.
    if (std::fabs(total - old) < 0.5) total += 1;
    std::map<TKey, double> shares;
    ModelDistribute(prefix, total - old, shares);
    Handler->FailingRow = fail ? target : nullptr;
    if (fail) {
      ASSERT_THROW(target->SetFieldValue(V.get(), DoubleValue(total)), platform::Exception);
      Handler->FailingRow = nullptr;
    } else {
      ASSERT_EQ(target->SetFieldValue(V.get(), DoubleValue(total)), srOk);
      ASSERT_NEAR(ValueAsFloat(target->ValueOf(V.get())), total, Tolerance);
    }
    for (const auto& [key, share] : shares) {
      TModelRow& row = Model[key];
      // Undo restores the values; the rows stay marked as written.
      if (share != 0 && row.State == rsUnchanged) row.State = rsModified;
      if (!fail) row.V += share;
    }
  }

  // ------------------------------------------------------------ the view
  void StepView() {
    std::vector<TSubTotalRow*> subTotals = SubTotals();
    switch (Draw(7)) {
      case 0: {
        TSubTotalRow* row =
            subTotals[static_cast<size_t>(Draw(static_cast<int>(subTotals.size())))];
        Step = "expand";
        Storage->Expand(row);
        break;
      }
      case 1: {
        TKey key;
        Step = "collapse";
        if (Chance(50) && DrawStoredKey(key)) {
          Storage->Collapse(Storage->LocateRow(KeyTexts(key)));
        } else {
          Storage->Collapse(
              subTotals[static_cast<size_t>(Draw(static_cast<int>(subTotals.size())))]);
        }
        break;
      }
      case 2:
        Step = "levels visible";
        Storage->SetLevelsVisible(Chance(50));
        break;
      case 3:
        Step = "totals below";
        Storage->SetTotalsBelow(Chance(50));
        break;
      case 4:
        Step = "flat mode";
        Storage->SetFlatMode(Chance(30));
        break;
      case 5: {
        Step = "tree key visible";
        Storage->GetTreeKey(Draw(Storage->TreeKeyCount() + 1)).SetVisible(Chance(50));
        break;
      }
      default: {
        TKey key;
        Step = "row visible";
        if (DrawStoredKey(key)) Storage->LocateRow(KeyTexts(key))->SetVisible(Chance(50));
        break;
      }
    }
  }

  // ---------------------------------------------------------- invariants
  // Walks the tree: children ordered by key, linked to their parent, no
  // entry without a row, no empty subtotal row below the root, every total
  // equal to the sum of its rows; collects the data rows in tree order.
  void CheckSubtree(TSubTotalRow* Row, std::vector<TDataRow*>& DataRows, double& Sum) {
    const TDataType* keyType = Row->Children().DataType();
    if (Row->Parent() != nullptr) {
      ASSERT_GT(Row->ChildCount(), 0) << "empty subtotal left";
    }
    Sum = 0;
    for (int i = 0; i < Row->ChildCount(); ++i) {
      TAbstractRow* child = Row->Child(i);
      ASSERT_NE(child, nullptr) << "entry without row left";
      ASSERT_EQ(child->Parent(), Row);
      ASSERT_EQ(child->Storage(), Storage.get());
      if (i > 0) {
        ASSERT_LT(keyType->Compare(Row->ChildKey(i - 1), Row->ChildKey(i)), 0);
      }
      TValue childKey;
      Storage->GetTreeKey(Row->LevelIndex()).GetValue(child, childKey);
      ASSERT_EQ(keyType->Compare(ConvertToType(keyType, childKey), Row->ChildKey(i)), 0)
          << "a row filed under another key";
      if (Row->IsLastLevel()) {
        auto* data = dynamic_cast<TDataRow*>(child);
        ASSERT_NE(data, nullptr);
        DataRows.push_back(data);
        Sum += ValueAsFloat(data->ValueOf(V.get()));
      } else {
        auto* sub = dynamic_cast<TSubTotalRow*>(child);
        ASSERT_NE(sub, nullptr);
        double childSum = 0;
        CheckSubtree(sub, DataRows, childSum);
        Sum += childSum;
      }
    }
    if (Row->ChildCount() > 0) {
      ASSERT_NEAR(ValueAsFloat(Row->ValueOf(V.get())), Sum, Tolerance) << "stale subtotal";
    }
  }

  // The view as a fresh walk of the tree gives it.
  void ExpectedView(TAbstractRow* Row, std::vector<TAbstractRow*>& View) {
    auto* sub = dynamic_cast<TSubTotalRow*>(Row);
    if (sub == nullptr) {
      if (Row->Visible()) View.push_back(Row);
      return;
    }
    bool show = sub->Visible() && !Storage->FlatMode();
    if (show && !Storage->TotalsBelow()) View.push_back(sub);
    for (int i = 0; i < sub->ChildCount(); ++i) ExpectedView(sub->Child(i), View);
    if (show && Storage->TotalsBelow()) View.push_back(sub);
  }

  void CheckInvariants() {
    std::vector<TDataRow*> dataRows;
    double sum = 0;
    CheckSubtree(Storage->Root(), dataRows, sum);
    if (HasFatalFailure()) return;

    std::set<TAbstractRow*> owned(dataRows.begin(), dataRows.end());
    ASSERT_EQ(owned.size(), dataRows.size()) << "a row is filed twice";
    ASSERT_EQ(dataRows.size(), Model.size());
    auto m = Model.begin();
    for (TDataRow* row : dataRows) {
      ASSERT_EQ(KeyOf(row), m->first);
      ASSERT_NEAR(ValueAsFloat(row->ValueOf(V.get())), m->second.V, Tolerance) << KeyText(m->first);
      ASSERT_EQ(ValueAsString(row->ValueOf(N.get())), m->second.N) << KeyText(m->first);
      ASSERT_EQ(row->State(), m->second.State) << KeyText(m->first);
      ++m;
    }
    ASSERT_EQ(Storage->DeletedRowCount(), ExpectedDeleted);
    for (int i = 0; i < Storage->DeletedRowCount(); ++i) {
      TDataRow* deleted = Storage->DeletedRow(i);
      ASSERT_EQ(deleted->State(), rsDeleted);
      ASSERT_TRUE(owned.insert(deleted).second) << "a deleted row is also elsewhere";
    }

    std::vector<TAbstractRow*> view;
    ExpectedView(Storage->Root(), view);
    ASSERT_EQ(Storage->RowCount(), static_cast<int>(view.size()));
    for (int i = 0; i < Storage->RowCount(); ++i) ASSERT_EQ(Storage->GetRow(i), view[i]) << i;
    ASSERT_EQ(Storage->HasRowsFor({}), !Model.empty());
  }
};

TEST_F(StorageDifferentialTest, MatchesAnOrderedMap) {
  const unsigned seed = EnvNumber("CLAVIRA_STORAGE_SEED", 20240611);
  const unsigned steps = EnvNumber("CLAVIRA_STORAGE_STEPS", 4000);
  Gen.seed(seed);
  platform::SetRandSeed(seed);
  for (unsigned step = 0; step < steps; ++step) {
    int kind = Draw(100);
    if (kind < 35) {
      StepPut();
    } else if (kind < 47) {
      StepValueWrite();
    } else if (kind < 59) {
      StepKeyWrite();
    } else if (kind < 66) {
      StepDelete();
    } else if (kind < 76) {
      StepGetRows();
    } else if (kind < 86) {
      StepSubTotalWrite();
    } else {
      StepView();
    }
    if (!HasFailure()) CheckInvariants();
    if (HasFailure()) {
      ADD_FAILURE() << "seed " << seed << " (CLAVIRA_STORAGE_SEED), step " << step << ": " << Step;
      return;
    }
  }
  EXPECT_GT(Model.size() + static_cast<size_t>(ExpectedDeleted), 0u);
}

}  // namespace
}  // namespace dataframework::storagetest
