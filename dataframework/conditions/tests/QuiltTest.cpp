// Quilt patches and quilts: normalising insertion, subtraction, the algebra
// with its ownership rules, relations (as one matrix), single values,
// translated copies and the checks with their messages.
#include <gtest/gtest.h>

#include "dataframework/conditions/Criteria.h"
#include "dataframework/conditions/CriteriaField.h"
#include "dataframework/conditions/tests/QuiltTestSupport.h"
#include "platform/Errors.h"

namespace dataframework::quilttest {
namespace {

class QuiltTest : public QuiltFields {
 protected:
  // A quilt built by AddPatch from patches written as field specs.
  std::unique_ptr<TQuilt> Build(std::initializer_list<std::initializer_list<TFieldSpec>> Patches) {
    auto quilt = std::make_unique<TQuilt>();
    for (const auto& patch : Patches) quilt->AddPatch(MakePatch(patch));
    return quilt;
  }
  std::vector<std::string> Shape(const TQuilt& Quilt) { return Texts(Quilt, All()); }

  // Whether the patches of a quilt (or the quilt field / patch itself)
  // accept the point (A = a, B = b).
  bool AcceptsPoint(const TCommonQuilt& Quilt, double a, double b) {
    platform::TMaybeOwned<TQuilt> full = dynamic_cast<const TCustomQuilt&>(Quilt).AsQuilt();
    for (int i = 0; i < full->PatchCount(); ++i) {
      const TQuiltPatch& patch = *full->Patches(i);
      if (patch.AcceptsValue(A.get(), DoubleValue(a)) &&
          patch.AcceptsValue(B.get(), DoubleValue(b)) && !patch.IsEmpty(nullptr))
        return true;
    }
    return false;
  }
};

TEST_F(QuiltTest, EmptyQuiltAndEmptyPatch) {
  TQuilt quilt;
  EXPECT_TRUE(quilt.IsEmpty(nullptr));
  EXPECT_FALSE(quilt.IsUniverse(nullptr));
  EXPECT_TRUE(quilt.IsNice());
  EXPECT_FALSE(quilt.AcceptsValue(A.get(), DoubleValue(1)));
  EXPECT_TRUE(quilt.AcceptsNoneOfField(A.get()));
  TQuiltPatch patch;
  EXPECT_TRUE(patch.IsUniverse(nullptr));
  EXPECT_FALSE(patch.IsEmpty(nullptr));
  EXPECT_TRUE(patch.AcceptsValue(A.get(), DoubleValue(1)));
  EXPECT_TRUE(patch.AcceptsAllOfField(A.get()));
  EXPECT_TRUE(patch.IsNice());
}

TEST_F(QuiltTest, AddPatchNormalises) {
  struct Case {
    const char* Name;
    std::vector<std::vector<TFieldSpec>> Added;
    std::vector<std::string> Expected;
  };
  const Case cases[] = {
      {"one differing field merges",
       {{{A.get(), "[1,5]"}}, {{A.get(), "[3,9]"}}},
       {"{QuiltA [1,9]}"}},
      {"a patch inside another adds nothing",
       {{{A.get(), "[1,5]"}}, {{A.get(), "[1,5]"}, {B.get(), "[1,2]"}}},
       {"{QuiltA [1,5]}"}},
      {"the universe patch replaces what it contains", {{{A.get(), "[1,5]"}}, {}}, {"{}"}},
      {"two differing fields stay apart",
       {{{A.get(), "[1,5]"}, {B.get(), "[1,2]"}}, {{A.get(), "[6,9]"}, {B.get(), "[3,4]"}}},
       {"{QuiltA [1,5]; QuiltB [1,2]}", "{QuiltA [6,9]; QuiltB [3,4]}"}},
      {"disjoint on the one differing field merges",
       {{{A.get(), "[1,2]"}, {B.get(), "[1,2]"}}, {{A.get(), "[5,6]"}, {B.get(), "[1,2]"}}},
       {"{QuiltA [1,2] [5,6]; QuiltB [1,2]}"}},
      {"a new patch containing old ones replaces them",
       {{{A.get(), "[1,2]"}, {B.get(), "[1,2]"}},
        {{A.get(), "[5,6]"}, {B.get(), "[7,8]"}},
        {{A.get(), "[0,9]"}}},
       {"{QuiltA [0,9]}"}},
      {"empty patches are dropped",
       {{{A.get(), "none"}}, {{A.get(), "[1,2]"}, {B.get(), "none"}}},
       {}},
      {"a merge that merges further",
       {{{A.get(), "[1,2]"}, {B.get(), "[1,2]"}},
        {{A.get(), "[3,4]"}, {B.get(), "[5,6]"}},
        {{A.get(), "[3,4]"}, {B.get(), "[1,2]"}},
        {{A.get(), "[1,2]"}, {B.get(), "[5,6]"}}},
       {"{QuiltA [1,2] [3,4]; QuiltB [1,2] [5,6]}"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TQuilt quilt;
    for (const auto& patch : c.Added) {
      auto p = std::make_unique<TQuiltPatch>();
      for (const TFieldSpec& item : patch)
        AddIntervals(*p->FieldFor(item.first, true), item.second);
      quilt.AddPatch(std::move(p));
    }
    EXPECT_EQ(Shape(quilt), c.Expected);
    for (int i = 0; i < quilt.PatchCount(); ++i) EXPECT_EQ(quilt.Patches(i)->Owner(), &quilt);
  }
}

TEST_F(QuiltTest, SubtractingPatches) {
  std::unique_ptr<TQuilt> quilt = Build({{{A.get(), "[1,9]"}, {B.get(), "[1,2]"}}});
  std::unique_ptr<TQuilt> whole = quilt->Copy();
  bool changed = false;
  quilt->SubtractPatch(*MakePatch({{A.get(), "[3,4]"}}), changed);
  EXPECT_TRUE(changed);
  EXPECT_EQ(Shape(*quilt), std::vector<std::string>{"{QuiltA [1,3) (4,9]; QuiltB [1,2]}"});

  std::unique_ptr<TQuiltPatch> hole = MakePatch({{A.get(), "[3,4]"}, {B.get(), "[1,1]"}});
  quilt = whole->Copy();
  quilt->SubtractPatch(*hole, changed);
  EXPECT_EQ(quilt->PatchCount(), 2);
  for (double a = 0; a <= 10; a += 0.5) {
    for (double b = 0; b <= 3; b += 0.5) {
      const bool expected = AcceptsPoint(*whole, a, b) && !(a >= 3 && a <= 4 && b == 1);
      EXPECT_EQ(AcceptsPoint(*quilt, a, b), expected) << a << "," << b;
    }
  }
  // The two patches left are disjoint.
  EXPECT_EQ(quilt->Patches(0)->Relation(*quilt->Patches(1), nullptr), qrDisjoint);

  changed = true;
  quilt = whole->Copy();
  quilt->SubtractPatch(*MakePatch({{A.get(), "[20,30]"}}), changed);
  EXPECT_TRUE(changed) << "Changed is only ever set";
  bool fresh = false;
  quilt->SubtractPatch(*MakePatch({{A.get(), "[20,30]"}}), fresh);
  EXPECT_FALSE(fresh);
  EXPECT_EQ(Shape(*quilt), Shape(*whole));

  // Patch subtraction reports the overlap and hands back the common part.
  std::vector<std::unique_ptr<TQuiltPatch>> pieces;
  std::unique_ptr<TQuiltPatch> remainder;
  std::unique_ptr<TQuiltPatch> p = MakePatch({{A.get(), "[1,9]"}});
  EXPECT_TRUE(p->SubtractPatch(*MakePatch({{B.get(), "[1,2]"}}), pieces, remainder));
  ASSERT_TRUE(remainder);
  EXPECT_EQ(Text(*remainder, All()), "{QuiltA [1,9]; QuiltB [1,2]}");
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(Text(*pieces[0], All()), "{QuiltA [1,9]; QuiltB (-inf,1) (2,+inf)}");
  pieces.clear();
  EXPECT_FALSE(p->SubtractPatch(*MakePatch({{A.get(), "[10,11]"}}), pieces, remainder));
  EXPECT_FALSE(remainder);
  EXPECT_TRUE(pieces.empty());
  EXPECT_FALSE(p->SubtractPatch(*MakePatch({{B.get(), "none"}}), pieces, remainder));
}

TEST_F(QuiltTest, RelationMatrix) {
  std::vector<std::unique_ptr<TQuilt>> q;
  q.push_back(Build({}));
  q.push_back(Build({{{A.get(), "[1,5]"}}}));
  q.push_back(Build({{{A.get(), "[1,9]"}}}));
  q.push_back(Build({{{A.get(), "[3,4]"}, {B.get(), "[1,2]"}}}));
  q.push_back(Build({{{A.get(), "[6,9]"}}}));
  q.push_back(Build({{}}));
  q.push_back(Build({{{A.get(), "[4,7]"}}}));
  q.push_back(
      Build({{{A.get(), "[1,5]"}, {B.get(), "[1,5]"}}, {{A.get(), "[4,9]"}, {B.get(), "[4,9]"}}}));
  q.push_back(Build({{{A.get(), "[4,5]"}, {B.get(), "[1,9]"}}}));
  ASSERT_EQ(q[7]->PatchCount(), 2);
  // Row i, column j: how quilt i relates to quilt j.
  const char* matrix[] = {
      "EIIIIIIII",  // empty
      "CEICDIOOC",  // A [1,5]
      "CCECCICCC",  // A [1,9]
      "CIIEDIOIO",  // A [3,4], B [1,2]
      "CDIDEIOOD",  // A [6,9]
      "CCCCCECCC",  // everything
      "COIOOIEOC",  // A [4,7]
      "COICOIOEC",  // two overlapping boxes
      "CIIODIIIE",  // A [4,5], B [1,9]: inside the two boxes together only
  };
  auto code = [](char c) {
    switch (c) {
      case 'E':
        return qrEqual;
      case 'D':
        return qrDisjoint;
      case 'O':
        return qrOverlapping;
      case 'I':
        return qrContainedIn;
      default:
        return qrContains;
    }
  };
  for (size_t i = 0; i < q.size(); ++i) {
    for (size_t j = 0; j < q.size(); ++j) {
      SCOPED_TRACE("quilt " + std::to_string(i) + " to quilt " + std::to_string(j));
      const TQuiltRelation expected = code(matrix[i][j]);
      EXPECT_EQ(q[i]->Relation(*q[j], nullptr), expected);
      EXPECT_EQ(q[i]->IsEqual(*q[j]), expected == qrEqual);
      EXPECT_EQ(q[i]->Contains(*q[j]), expected == qrEqual || expected == qrContains);
    }
  }
  // The same relations through the other quilt classes.
  EXPECT_EQ(MakeField(A.get(), "[1,5]")->Relation(*MakeField(A.get(), "[1,9]"), nullptr),
            qrContainedIn);
  EXPECT_EQ(MakePatch({{A.get(), "[1,9]"}})->Relation(*MakeField(A.get(), "[1,5]"), nullptr),
            qrContains);
  EXPECT_EQ(MakeField(A.get(), "[1,2]")->Relation(*MakePatch({{A.get(), "[3,4]"}}), nullptr),
            qrDisjoint);
}

TEST_F(QuiltTest, RelationLooksOnlyAtTheFieldSet) {
  std::unique_ptr<TQuilt> self =
      Build({{{A.get(), "[1,5]"}, {B.get(), "[1,2]"}}, {{A.get(), "[4,9]"}, {B.get(), "[5,6]"}}});
  std::unique_ptr<TQuilt> other = Build({{{A.get(), "[2,8]"}}});
  TDataFieldSet onlyA;
  onlyA.Add(A.get());
  TDataFieldSet onlyB;
  onlyB.Add(B.get());
  EXPECT_EQ(self->Relation(*other, nullptr), qrOverlapping);
  EXPECT_EQ(self->Relation(*other, &onlyA), qrContains);
  EXPECT_EQ(other->Relation(*self, &onlyA), qrContainedIn);
  EXPECT_EQ(self->Relation(*other, &onlyB), qrContainedIn);
  EXPECT_TRUE(Build({{{A.get(), "[1,2]"}}})->IsUniverse(&onlyB));
  EXPECT_FALSE(Build({{{A.get(), "[1,2]"}}})->IsUniverse(&onlyA));
}

TEST_F(QuiltTest, UniverseAndEmptyOfUnions) {
  // Together the patches cover everything though none does alone.
  std::unique_ptr<TQuilt> quilt = std::make_unique<TQuilt>();
  quilt->AppendPatch(MakePatch({{A.get(), "(-inf,5)"}, {B.get(), "(-inf,5)"}}));
  quilt->AppendPatch(MakePatch({{A.get(), "[5,+inf)"}}));
  quilt->AppendPatch(MakePatch({{A.get(), "(-inf,5)"}, {B.get(), "[5,+inf)"}}));
  EXPECT_TRUE(quilt->IsUniverse(nullptr));
  EXPECT_EQ(quilt->Relation(*Build({{}}), nullptr), qrEqual);
  quilt->AppendPatch(MakePatch({{C.get(), "[1,1]"}}));
  bool changed = false;
  quilt->SubtractPatch(*MakePatch({{A.get(), "[1,1]"}, {B.get(), "[1,1]"}}), changed);
  EXPECT_TRUE(changed);
  EXPECT_FALSE(quilt->IsUniverse(nullptr));
  EXPECT_FALSE(quilt->IsEmpty(nullptr));
}

TEST_F(QuiltTest, HasOnlyValueNeedsEveryPatchToFixTheField) {
  struct Case {
    const char* Name;
    std::vector<std::vector<TFieldSpec>> Patches;
    bool Expected;
  };
  const Case cases[] = {
      {"one patch, one value", {{{A.get(), "[3,3]"}}}, true},
      {"two patches, same value",
       {{{A.get(), "[3,3]"}, {B.get(), "[1,2]"}}, {{A.get(), "[3,3]"}, {B.get(), "[5,6]"}}},
       true},
      {"two patches, two values",
       {{{A.get(), "[3,3]"}, {B.get(), "[1,2]"}}, {{A.get(), "[4,4]"}, {B.get(), "[5,6]"}}},
       false},
      {"a patch leaves other values through",
       {{{A.get(), "[3,3]"}, {B.get(), "[1,2]"}}, {{A.get(), "[1,5]"}, {B.get(), "[7,8]"}}},
       false},
      {"a patch without the field", {{{A.get(), "[3,3]"}}, {{B.get(), "[7,8]"}}}, false},
      {"an interval", {{{A.get(), "[3,4]"}}}, false},
      {"no patch", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TQuilt quilt;
    for (const auto& patch : c.Patches) {
      auto p = std::make_unique<TQuiltPatch>();
      for (const TFieldSpec& item : patch)
        AddIntervals(*p->FieldFor(item.first, true), item.second);
      quilt.AppendPatch(std::move(p));
    }
    TValue value;
    EXPECT_EQ(quilt.HasOnlyValue(A.get(), value), c.Expected);
    if (c.Expected) {
      EXPECT_EQ(ValueAsFloat(value), 3);
    }
  }
}

TEST_F(QuiltTest, AlgebraAnswersAndOwnership) {
  // Quilt fields of one data field stay quilt fields.
  std::unique_ptr<TCommonQuilt> field = MakeField(A.get(), "[1,5]");
  TCommonQuilt* raw = field.get();
  std::unique_ptr<TQuiltField> other = MakeField(A.get(), "[3,9]");
  field = QuiltUnion(std::move(field), BorrowQuilt(*other));
  EXPECT_EQ(field.get(), raw);
  EXPECT_EQ(Text(static_cast<TQuiltField&>(*field)), "[1,9]");
  field = QuiltSubtract(std::move(field), BorrowQuilt(*MakeField(A.get(), "[4,6]")));
  EXPECT_EQ(Text(static_cast<TQuiltField&>(*field)), "[1,4) (6,9]");
  field = QuiltIntersect(std::move(field), OwnQuilt(MakeField(A.get(), "[2,8]")));
  EXPECT_EQ(Text(static_cast<TQuiltField&>(*field)), "[2,4) (6,8]");

  // Fields of two data fields make a quilt of two patches.
  std::unique_ptr<TCommonQuilt> united =
      QuiltUnion(MakeField(A.get(), "[1,2]"), OwnQuilt(MakeField(B.get(), "[1,2]")));
  auto* quilt = dynamic_cast<TQuilt*>(united.get());
  ASSERT_NE(quilt, nullptr);
  EXPECT_EQ(quilt->PatchCount(), 2);

  // A patch united with a borrowed quilt leaves that quilt as it was.
  std::unique_ptr<TQuilt> given = Build({{{A.get(), "[1,2]"}}});
  std::unique_ptr<TCommonQuilt> answer =
      QuiltUnion(MakePatch({{A.get(), "[5,6]"}, {B.get(), "[0,1]"}}), BorrowQuilt(*given));
  EXPECT_NE(answer.get(), given.get());
  EXPECT_EQ(Shape(*given), std::vector<std::string>{"{QuiltA [1,2]}"});
  ASSERT_NE(dynamic_cast<TQuilt*>(answer.get()), nullptr);
  EXPECT_EQ(static_cast<TQuilt&>(*answer).PatchCount(), 2);
  // The same with an owned quilt answers that quilt.
  std::unique_ptr<TQuilt> owned = Build({{{A.get(), "[1,2]"}}});
  TQuilt* ownedRaw = owned.get();
  answer = QuiltUnion(MakePatch({{A.get(), "[5,6]"}}), OwnQuilt(std::move(owned)));
  EXPECT_EQ(answer.get(), ownedRaw);
  EXPECT_EQ(Shape(*ownedRaw), std::vector<std::string>{"{QuiltA [1,2] [5,6]}"});

  // A patch and a patch that merge come back as one patch.
  answer = QuiltUnion(MakePatch({{A.get(), "[1,2]"}}), OwnQuilt(MakePatch({{A.get(), "[2,3]"}})));
  ASSERT_NE(dynamic_cast<TQuiltPatch*>(answer.get()), nullptr);
  EXPECT_EQ(Text(static_cast<TQuiltPatch&>(*answer), All()), "{QuiltA [1,3]}");

  // Intersections pass through Simplify.
  answer = QuiltIntersect(MakeField(A.get(), "[1,5]"),
                          OwnQuilt(MakePatch({{A.get(), "[3,9]"}, {B.get(), "all"}})));
  ASSERT_NE(dynamic_cast<TQuiltField*>(answer.get()), nullptr);
  EXPECT_EQ(Text(static_cast<TQuiltField&>(*answer)), "[3,5]");

  // A quilt of one patch of one restricted field simplifies to the field.
  std::unique_ptr<TCommonQuilt> simple = Build({{{A.get(), "[1,2]"}, {B.get(), "all"}}});
  simple = QuiltSimplify(std::move(simple));
  ASSERT_NE(dynamic_cast<TQuiltField*>(simple.get()), nullptr);
  EXPECT_EQ(simple->Owner(), nullptr);
  simple = QuiltSimplify(MakePatch({{A.get(), "all"}}));
  ASSERT_NE(dynamic_cast<TQuiltPatch*>(simple.get()), nullptr);
  EXPECT_TRUE(simple->IsUniverse(nullptr));
  simple = QuiltSimplify(Build({{{A.get(), "[1,2]"}}, {{B.get(), "[1,2]"}}}));
  EXPECT_NE(dynamic_cast<TQuilt*>(simple.get()), nullptr);
}

TEST_F(QuiltTest, ChecksRaiseBeforeAnythingChanges) {
  TQuilt owner;
  owner.AddPatch(MakePatch({{A.get(), "[1,2]"}}));
  TQuiltPatch* owned = owner.Patches(0);
  TQuilt quilt;
  quilt.AddPatch(MakePatch({{A.get(), "[7,8]"}}));
  try {
    quilt.AddPatch(std::unique_ptr<TQuiltPatch>(owned));
    ADD_FAILURE();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), "TQuilt.AddPatch: APatch is already owned by another TCondition!");
  }
  EXPECT_EQ(owner.PatchCount(), 1);
  EXPECT_EQ(Shape(quilt), std::vector<std::string>{"{QuiltA [7,8]}"});

  TQuiltPatch patch;
  TQuiltField* ownedField = owned->FieldFor(A.get(), false);
  try {
    patch.InternalAddQuiltField(std::unique_ptr<TQuiltField>(ownedField));
    ADD_FAILURE();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), "TQuiltPatch.InternalAddQuiltField: AQuiltField already has an owner!");
  }
  EXPECT_EQ(patch.FieldCount(), 0);
  EXPECT_EQ(owned->FieldFor(A.get(), false), ownedField);

  TCriteria criteria;
  criteria.CriteriaFields(A.get()).AddValue(DoubleValue(1));
  for (auto [name, action] : std::vector<std::pair<const char*, std::function<void()>>>{
           {"UnionWith", [&] { quilt.UnionWith(criteria); }},
           {"SubtractCondition", [&] { quilt.SubtractCondition(criteria); }},
           {"IntersectWith", [&] { quilt.IntersectWith(criteria); }},
       }) {
    SCOPED_TRACE(name);
    try {
      action();
      ADD_FAILURE();
    } catch (const platform::EAssertionFailed& e) {
      EXPECT_EQ(e.Message(), "Assertion failure");
    }
    EXPECT_EQ(Shape(quilt), std::vector<std::string>{"{QuiltA [7,8]}"});
  }
  for (auto [name, action] : std::vector<std::pair<const char*, std::function<void()>>>{
           {"WriteToStream",
            [&] {
              std::ostringstream s;
              quilt.WriteToStream(s, 0);
            }},
           {"CreateFromStream",
            [&] {
              std::istringstream s("x");
              (void)quilt.CreateFromStream(s);
            }},
           {"AsCriteria", [&] { (void)quilt.AsCriteria(); }},
           {"AsNiceCriteria", [&] { (void)patch.AsNiceCriteria(); }},
       }) {
    SCOPED_TRACE(name);
    try {
      action();
      ADD_FAILURE();
    } catch (const platform::Exception& e) {
      EXPECT_EQ(e.Message(), "Not implemented!");
    }
  }
}

// Maps A and B onto C (or drops them) with a chosen conflict action.
struct TTranslation {
  TDataField* From1;
  TDataField* From2;
  TDataField* To;
  int Action;
  bool KeepOriginal;
};

TDataField* Translate(void* UserData, TDataField* Field, int& ConflictAction, bool& KeepOriginal) {
  auto* t = static_cast<TTranslation*>(UserData);
  EXPECT_EQ(ConflictAction, 1);
  EXPECT_FALSE(KeepOriginal);
  ConflictAction = t->Action;
  KeepOriginal = t->KeepOriginal;
  return (Field == t->From1 || Field == t->From2) ? t->To : nullptr;
}

TEST_F(QuiltTest, TranslatedCopiesResolveConflicts) {
  struct Case {
    int Action;
    bool KeepOriginal;
    const char* Expected;
  };
  // The patch holds A [1,5] and B [3,9]; which one comes first depends on
  // the order of the patch's fields (A first here).
  const Case cases[] = {
      {0, false, "{QuiltC [1,5]}"},
      {1, false, "{QuiltC [3,9]}"},
      {2, false, "{QuiltC [1,9]}"},
      {3, false, "{QuiltC [3,5]}"},
      {3, true, "{QuiltA [1,5]; QuiltB [3,9]; QuiltC [3,5]}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Expected);
    std::unique_ptr<TQuiltPatch> patch = MakePatch({{A.get(), "[1,5]"}, {B.get(), "[3,9]"}});
    TTranslation t{A.get(), B.get(), C.get(), c.Action, c.KeepOriginal};
    std::unique_ptr<TQuiltPatch> copy = patch->CreateFieldTranslatedPatchCopy(Translate, &t);
    EXPECT_EQ(Text(*copy, All()), c.Expected);
    std::unique_ptr<TCondition> viaQuilt =
        Build({{{A.get(), "[1,5]"}, {B.get(), "[3,9]"}}})->CreateFieldTranslatedCopy(Translate, &t);
    EXPECT_EQ(Shape(static_cast<TQuilt&>(*viaQuilt)), std::vector<std::string>{c.Expected});
  }
  std::unique_ptr<TQuiltPatch> patch = MakePatch({{A.get(), "[1,5]"}, {B.get(), "[3,9]"}});
  TTranslation bad{A.get(), B.get(), C.get(), 7, false};
  try {
    (void)patch->CreateFieldTranslatedPatchCopy(Translate, &bad);
    ADD_FAILURE();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), "TQuiltPatch.CreateFieldTranslatedPatchCopy: Unknown ConflictAction!");
  }
  TTranslation dropAll{nullptr, nullptr, C.get(), 1, false};
  EXPECT_EQ(MakeField(A.get(), "[1,2]")->CreateFieldTranslatedCopy(Translate, &dropAll), nullptr);
  TTranslation onlyA{A.get(), nullptr, C.get(), 1, false};
  std::unique_ptr<TCondition> moved =
      MakeField(A.get(), "[1,2]")->CreateFieldTranslatedCopy(Translate, &onlyA);
  EXPECT_EQ(Text(static_cast<TQuiltField&>(*moved)), "[1,2]");
  EXPECT_EQ(static_cast<TQuiltField&>(*moved).Field(), C.get());
}

TEST_F(QuiltTest, CopiesOfConditions) {
  std::unique_ptr<TQuilt> quilt = Build({{{A.get(), "[1,5]"}}});
  std::unique_ptr<TCommonQuilt> copy = QuiltCopyOf(*quilt);
  EXPECT_NE(copy.get(), quilt.get());
  EXPECT_TRUE(copy->IsEqual(*quilt));
  copy->Clear();
  EXPECT_EQ(quilt->PatchCount(), 1);

  TCriteria criteria;
  criteria.CriteriaFields(A.get()).AddInterval(DoubleValue(1), DoubleValue(5));
  std::unique_ptr<TCommonQuilt> fromCriteria = QuiltCopyOf(criteria);
  ASSERT_NE(dynamic_cast<TQuiltPatch*>(fromCriteria.get()), nullptr);
  EXPECT_TRUE(fromCriteria->IsEqual(*quilt));
  EXPECT_TRUE(quilt->IsEqual(criteria));

  std::unique_ptr<TCondition> clone = quilt->Clone();
  EXPECT_EQ(clone->Owner(), nullptr);
  EXPECT_TRUE(clone->IsEqual(*quilt));
  std::unique_ptr<TCondition> patchClone = quilt->Patches(0)->Clone();
  EXPECT_EQ(patchClone->Owner(), nullptr);
  EXPECT_TRUE(patchClone->IsEqual(*quilt));
}

TEST_F(QuiltTest, ProjectionAndFieldQueries) {
  std::unique_ptr<TQuilt> quilt = Build({{{A.get(), "[1,2]"}, {B.get(), "[1,2]"}},
                                         {{A.get(), "[5,6]"}, {B.get(), "none"}},
                                         {{B.get(), "[7,8]"}, {C.get(), "[0,1]"}}});
  EXPECT_EQ(quilt->PatchCount(), 2);
  EXPECT_TRUE(quilt->UsesField(C.get()));
  EXPECT_FALSE(quilt->IsNice());
  TDataFieldSet onlyA;
  onlyA.Add(A.get());
  quilt->ProjectOn(&onlyA);
  EXPECT_EQ(Shape(*quilt), (std::vector<std::string>{"{QuiltA [1,2]}", "{}"}));
  EXPECT_FALSE(quilt->UsesField(B.get()));

  std::vector<std::pair<TDataField*, bool>> seen;
  auto record = [](void* UserData, TDataField* Field, bool AcceptsAll) {
    static_cast<std::vector<std::pair<TDataField*, bool>>*>(UserData)->emplace_back(Field,
                                                                                    AcceptsAll);
  };
  MakePatch({{A.get(), "[1,2]"}, {B.get(), "all"}})->ForEachField(record, &seen);
  EXPECT_EQ(seen, (std::vector<std::pair<TDataField*, bool>>{{A.get(), false}, {B.get(), true}}));
}

}  // namespace
}  // namespace dataframework::quilttest
