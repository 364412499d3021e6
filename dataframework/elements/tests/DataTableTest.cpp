// Data tables: layout, position cache, structure changes with their
// messages, locking, the table registry, table types, bridges, copies.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/DataElements.h"
#include "dataframework/elements/Storages.h"
#include "dataframework/types/DataTypes.h"
#include "dataframework/types/NumericTypes.h"
#include "dataframework/types/TextTypes.h"
#include "platform/DataError.h"
#include "platform/Errors.h"
#include "platform/Interruptable.h"
#include "platform/PropInfo.h"
#include "testsupport/MessageOf.h"

namespace dataframework {
namespace {

using platform::TDataErrorCapture;
using testsupport::MessageOf;

// The fields of a table by position.
std::vector<TDataField*> FieldsOf(const TDataTable& Table) {
  return Table.Fields();
}

class TableFixture : public ::testing::Test {
 protected:
  std::unique_ptr<TKeyField> A = TKeyField::CreateSimpleKey("", IntegerType());
  std::unique_ptr<TKeyField> B = TKeyField::CreateSimpleKey("", StringType(10, true));
  std::unique_ptr<TDataField> C = TDataField::CreateField("", DoubleType());
  std::unique_ptr<TDataField> D = TDataField::CreateField("", IntegerType());
  std::unique_ptr<TDataField> E = TDataField::CreateField("", IntegerType());
  std::unique_ptr<TDataTable> Table =
      TDataTable::CreateTable("", nullptr, {A.get(), B.get()}, {C.get()}, nullptr);
};

TEST_F(TableFixture, LayoutPacksKeysAndFieldsWithoutGaps) {
  const int sizeB = StringType(10, true)->DataSize();
  EXPECT_EQ(Table->KeyCount(), 2);
  EXPECT_EQ(Table->FieldCount(), 3);
  EXPECT_EQ(Table->IgnoreFieldCount(), 0);
  EXPECT_EQ(Table->FieldOffset(0), 0);
  EXPECT_EQ(Table->FieldOffset(1), 4);
  EXPECT_EQ(Table->FieldOffset(2), 4 + sizeB);
  EXPECT_EQ(Table->RecordSize(), 4 + sizeB + 8);
  ASSERT_NE(Table->DefaultRow(), nullptr);
  EXPECT_EQ(Table->DefaultRow()->Table(), Table.get());

  // Ignored fields take no room.
  Table->AddIgnore(D.get());
  EXPECT_EQ(Table->RecordSize(), 4 + sizeB + 8);
  EXPECT_EQ(Table->Layout().size(), 3u);

  TDataTable empty(nullptr);
  EXPECT_EQ(empty.RecordSize(), 0);
  EXPECT_EQ(empty.FieldCount(), 0);
  EXPECT_NE(empty.DefaultRow(), nullptr);
}

TEST_F(TableFixture, DefaultRowHoldsTheFieldsDefaults) {
  C->SetDefaultValue(DoubleValue(2.5));
  Table->RebuildLayout();
  TValue value;
  Table->DefaultRow()->GetIndexValue(2, value);
  EXPECT_DOUBLE_EQ(ValueAsFloat(value), 2.5);
}

TEST_F(TableFixture, FieldsRecordTheirTables) {
  EXPECT_TRUE(A->Tables().Contains(Table.get()));
  EXPECT_TRUE(C->Tables().Contains(Table.get()));
  Table->AddIgnore(D.get());
  EXPECT_TRUE(D->Tables().Contains(Table.get()));
  Table->RemoveDataField(C.get());
  EXPECT_FALSE(C->Tables().Contains(Table.get()));
  Table.reset();
  EXPECT_TRUE(A->Tables().IsEmpty());
  EXPECT_TRUE(D->Tables().IsEmpty());
}

TEST_F(TableFixture, IndexOfFieldAndAreas) {
  Table->AddIgnore(D.get());
  EXPECT_EQ(Table->IndexOfField(A.get()), 0);
  EXPECT_EQ(Table->IndexOfField(B.get()), 1);
  EXPECT_EQ(Table->IndexOfField(C.get()), 2);
  EXPECT_EQ(Table->IndexOfField(D.get()), -1);  // ignored
  EXPECT_EQ(Table->GetField(3), D.get());
  EXPECT_EQ(Table->IndexOfField(E.get()), -1);
  EXPECT_TRUE(Table->TableHasKey(B.get()));
  EXPECT_FALSE(Table->TableHasKey(C.get()));
  EXPECT_TRUE(Table->TableHasField(C.get()));
  EXPECT_FALSE(Table->TableHasField(D.get()));
  EXPECT_EQ(MessageOf([&] { Table->GetField(4); }),
            "TDataTable.GetField: (idx >= 0) and (idx < FieldCount + IgnoreFieldCount), idx: 4");
  EXPECT_EQ(MessageOf([&] { Table->GetField(-1); }),
            "TDataTable.GetField: (idx >= 0) and (idx < FieldCount + IgnoreFieldCount), idx: -1");
  EXPECT_EQ(MessageOf([&] { Table->IndexOfField(nullptr); }),
            "TDataTable.IndexOfField: Field <> nil");
  EXPECT_EQ(MessageOf([&] { Table->TableHasField(nullptr); }),
            "TDataTable.TableHasField: Field <> nil");
  EXPECT_EQ(MessageOf([&] { Table->TableHasKey(nullptr); }),
            "TDataTable.TableHasKey: Field <> nil");
}

TEST(PositionCacheTest, FieldsSharingABucketAreAllFound) {
  // Make fields until two of them share a bucket.
  std::vector<std::unique_ptr<TDataField>> fields;
  std::map<int, TDataField*> byBucket;
  TDataField* first = nullptr;
  TDataField* second = nullptr;
  while (second == nullptr) {
    fields.push_back(TDataField::CreateField("", IntegerType()));
    TDataField* f = fields.back().get();
    auto [it, fresh] = byBucket.emplace(TDataTable::BucketOf(f), f);
    if (!fresh) {
      first = it->second;
      second = f;
    }
  }
  auto key = TKeyField::CreateSimpleKey("", IntegerType());
  auto table = TDataTable::CreateTable("", nullptr, {key.get()}, {first, second}, nullptr);
  EXPECT_EQ(table->IndexOfField(first), 1);
  EXPECT_EQ(table->IndexOfField(second), 2);
  table->RemoveDataField(second);
  EXPECT_EQ(table->IndexOfField(first), 1);
  EXPECT_EQ(table->IndexOfField(second), -1);
  table->AddField(second);
  table->MoveField(second, 1);  // both move: the cache follows
  EXPECT_EQ(table->IndexOfField(second), 1);
  EXPECT_EQ(table->IndexOfField(first), 2);
  // Every other field of the same bucket that is not in the table is absent.
  for (auto& f : fields) {
    if (f.get() != first && f.get() != second) {
      EXPECT_EQ(table->IndexOfField(f.get()), -1);
    }
  }
}

TEST_F(TableFixture, StructureChangesAndTheirMessages) {
  struct Case {
    const char* Name;
    std::function<void()> Change;
    std::vector<TDataField*> Fields;  // expected afterwards
    int KeyCount, FieldCount;
    const char* Error;  // nullptr: succeeds
  };
  TDataField* a = A.get();
  TDataField* b = B.get();
  TDataField* c = C.get();
  TDataField* d = D.get();
  TDataField* e = E.get();
  A->SetFieldName("FA");
  C->SetFieldName("FC");
  D->SetFieldName("FD");
  // Each case starts from keys [a, b], field [c], ignored [d].
  std::vector<Case> cases = {
      {"AddKey new", [&] { Table->AddKey(e); }, {a, b, e, c, d}, 3, 4, nullptr},
      {"AddKey ignored", [&] { Table->AddKey(d); }, {a, b, d, c}, 3, 4, nullptr},
      {"AddKey key",
       [&] { Table->AddKey(a); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.AddKey: Field FA already exists in table!"},
      {"AddKey field",
       [&] { Table->AddKey(c); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.AddKey: Field FC already exists in table!"},
      {"AddField new", [&] { Table->AddField(e); }, {a, b, c, e, d}, 2, 4, nullptr},
      {"AddField ignored", [&] { Table->AddField(d); }, {a, b, c, d}, 2, 4, nullptr},
      {"AddField key",
       [&] { Table->AddField(a); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.AddField: Field FA already exists in table!"},
      {"AddIgnore new", [&] { Table->AddIgnore(e); }, {a, b, c, d, e}, 2, 3, nullptr},
      {"AddIgnore ignored",
       [&] { Table->AddIgnore(d); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.AddIgnore: Field FD already exists in table!"},
      {"AddIgnore field",
       [&] { Table->AddIgnore(c); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.AddIgnore: Field FC already exists in table!"},
      {"Remove key", [&] { Table->RemoveDataField(a); }, {b, c, d}, 1, 2, nullptr},
      {"Remove field", [&] { Table->RemoveDataField(c); }, {a, b, d}, 2, 2, nullptr},
      {"Remove ignored", [&] { Table->RemoveDataField(d); }, {a, b, c}, 2, 3, nullptr},
      {"Remove absent", [&] { Table->RemoveDataField(e); }, {a, b, c, d}, 2, 3, nullptr},
      {"Remove nil",
       [&] { Table->RemoveDataField(nullptr); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.RemoveDataField: AField <> nil"},
      {"Move nil",
       [&] { Table->MoveField(nullptr, 2); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.MoveField: ADataField <> nil"},
      {"Move new into fields", [&] { Table->MoveField(e, 2); }, {a, b, e, c, d}, 2, 4, nullptr},
      {"Move new into ignored", [&] { Table->MoveField(e, 4); }, {a, b, c, d, e}, 2, 3, nullptr},
      {"Move new into keys",
       [&] { Table->MoveField(e, 1); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.MoveField: Cannot add field into key area"},
      {"Move last key to KeyCount-1", [&] { Table->MoveField(b, 1); }, {a, b, c, d}, 1, 3, nullptr},
      {"Move first key to KeyCount-1",
       [&] { Table->MoveField(a, 1); },
       {b, a, c, d},
       1,
       3,
       nullptr},
      {"Move key below KeyCount-1",
       [&] { Table->MoveField(b, 0); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.MoveField: Cannot move field into key area"},
      {"Move key to field area", [&] { Table->MoveField(a, 2); }, {b, c, a, d}, 1, 3, nullptr},
      {"Move field into keys",
       [&] { Table->MoveField(c, 1); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.MoveKey: Cannot move key into field area"},
      {"Move ignored to fields", [&] { Table->MoveField(d, 2); }, {a, b, d, c}, 2, 4, nullptr},
      {"Move field to ignored end", [&] { Table->MoveField(c, 3); }, {a, b, d, c}, 2, 3, nullptr},
      {"Move beyond the end",
       [&] { Table->MoveField(c, 9); },
       {a, b, c, d},
       2,
       3,
       "TDynaTable.MoveField: (NewIndex >= 0) and (NewIndex < Count), idx: 9"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Table = TDataTable::CreateTable("", nullptr, {a, b}, {C.get()}, nullptr);
    Table->AddIgnore(d);
    std::string error = MessageOf(c.Change);
    EXPECT_EQ(error, c.Error != nullptr ? c.Error : "<no exception>");
    EXPECT_EQ(FieldsOf(*Table), c.Fields);
    EXPECT_EQ(Table->KeyCount(), c.KeyCount);
    EXPECT_EQ(Table->FieldCount(), c.FieldCount);
    // The layout and the position cache agree with the fields.
    EXPECT_EQ(static_cast<int>(Table->Layout().size()), Table->FieldCount());
    for (int i = 0; i < static_cast<int>(c.Fields.size()); ++i) {
      EXPECT_EQ(Table->IndexOfField(c.Fields[i]), i < c.FieldCount ? i : -1);
      EXPECT_TRUE(c.Fields[i]->Tables().Contains(Table.get()));
    }
    EXPECT_NO_THROW(Table->CheckDuplicates());
  }
}

TEST_F(TableFixture, StructureChangesFailOnceAStorageIsMade) {
  EXPECT_FALSE(Table->Locked());
  TRowStorage* cache = Table->CacheStorage();
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(Table->CacheStorage(), cache);  // made once
  EXPECT_EQ(Table->CacheStorageIfMade(), cache);
  EXPECT_TRUE(Table->Locked());
  const std::string locked =
      "TDynaTable.CheckLocked: DynaTable's structure is locked! It cannot be changed!";
  const std::vector<TDataField*> before = FieldsOf(*Table);
  const std::function<void()> changes[] = {
      [&] { Table->AddField(D.get()); },     [&] { Table->AddKey(D.get()); },
      [&] { Table->AddIgnore(D.get()); },    [&] { Table->RemoveDataField(C.get()); },
      [&] { Table->MoveField(A.get(), 1); }, [&] { Table->RemoveDataField(D.get()); },
  };
  for (const auto& change : changes) {
    TDataErrorCapture capture;
    EXPECT_EQ(MessageOf(change), locked);
    ASSERT_EQ(capture.Entries().size(), 1u);
    EXPECT_EQ(capture.Entries()[0].Context, "DynaTable");
    EXPECT_EQ(FieldsOf(*Table), before);
  }
  EXPECT_FALSE(D->Tables().Contains(Table.get()));

  // A separate storage locks another table the same way.
  auto other = TDataTable::CreateTable("", nullptr, {A.get()}, {}, nullptr);
  TRowStorage storage(other.get());
  EXPECT_EQ(MessageOf([&] { other->AddField(C.get()); }), locked);
  EXPECT_EQ(other->FieldCount(), 1);
}

TEST(DataTableTest, DoubleFieldsLeaveNothingBehind) {
  TDataTableType type(nullptr);
  auto k = TKeyField::CreateSimpleKey("DblKey", IntegerType());
  auto f = TDataField::CreateField("DblField", IntegerType());
  f->Headings().SetDefaultText("Heading");
  EXPECT_EQ(MessageOf([&] {
              TDataTable::CreateTable("DblTable", &type, {k.get()}, {f.get(), f.get()}, nullptr);
            }),
            "Double field: DblField Heading (index: 1)");
  EXPECT_EQ(FindTableByName("DblTable"), nullptr);
  EXPECT_EQ(type.TableCount(), 0);
  EXPECT_TRUE(k->Tables().IsEmpty());
  EXPECT_TRUE(f->Tables().IsEmpty());
  EXPECT_THROW(TDataTable::CreateTable("", nullptr, {k.get(), k.get()}, {}, nullptr),
               platform::Exception);
}

TEST(DataTableTest, CreateTableSkipsMissingFields) {
  auto k = TKeyField::CreateSimpleKey("", IntegerType());
  auto f = TDataField::CreateField("", IntegerType());
  auto table =
      TDataTable::CreateTable("", nullptr, {nullptr, k.get()}, {nullptr, f.get()}, nullptr);
  EXPECT_EQ(FieldsOf(*table), (std::vector<TDataField*>{k.get(), f.get()}));
  EXPECT_EQ(table->KeyCount(), 1);
}

TEST(DataTableTest, CopiesKeepTheAreasAndDropTheName) {
  TDataTableType sourceType(nullptr), copyType(nullptr);
  TDataBridge bridge(nullptr);
  auto k = TKeyField::CreateSimpleKey("", IntegerType());
  auto f = TDataField::CreateField("", IntegerType());
  auto g = TDataField::CreateField("", IntegerType());
  auto alias = TDataField::CreateField("", IntegerType());
  auto table = TDataTable::CreateTable("CopySource", &sourceType, {k.get()}, {f.get()}, nullptr);
  table->AddIgnore(g.get());
  table->AddAlias(alias.get(), f.get());
  table->SetRunningNumberField(f.get());
  table->Captions().SetTexts({"Source", "Fuente"});

  for (int way = 0; way < 2; ++way) {
    SCOPED_TRACE(way);
    std::unique_ptr<TDataTable> copy = way == 0
                                           ? TDataTable::CreateCopy(table.get(), &bridge, &copyType)
                                           : table->CreateCopy(&bridge, &copyType);
    EXPECT_EQ(copy->TableName(), "");
    EXPECT_EQ(copy->TableType(), &copyType);
    EXPECT_EQ(copy->DataBridge(), &bridge);
    EXPECT_EQ(FieldsOf(*copy), FieldsOf(*table));
    EXPECT_EQ(copy->KeyCount(), 1);
    EXPECT_EQ(copy->FieldCount(), 2);
    EXPECT_EQ(copy->AliasFields(), table->AliasFields());
    EXPECT_EQ(copy->AliasTargets(), table->AliasTargets());
    EXPECT_EQ(copy->RunningNumberField(), f.get());
    EXPECT_EQ(copy->Captions().Texts(), table->Captions().Texts());
    EXPECT_EQ(copyType.TableCount(), 1);
  }
  EXPECT_EQ(copyType.TableCount(), 0);
  EXPECT_EQ(FindTableByName("CopySource"), table.get());
  EXPECT_EQ(MessageOf([] { TDataTable::CreateCopy(nullptr, nullptr, nullptr); }),
            "TDynaTable.CreateCopy: Table <> nil");
}

TEST(DataTableTest, ResolveFieldAndLookupPositions) {
  auto k = TKeyField::CreateSimpleKey("", IntegerType());
  auto f = TDataField::CreateField("", IntegerType());
  auto standIn = TDataField::CreateField("", IntegerType());
  auto outside = TDataField::CreateField("", IntegerType());
  standIn->SetLookupKey(outside.get());
  auto table = TDataTable::CreateTable("", nullptr, {k.get()}, {f.get(), standIn.get()}, nullptr);
  EXPECT_EQ(table->IndexOfFieldOrLookup(f.get()), 1);
  EXPECT_EQ(table->IndexOfFieldOrLookup(outside.get()), 2);
  EXPECT_EQ(table->IndexOfFieldOrLookup(k.get()), 0);
  auto none = TDataField::CreateField("", IntegerType());
  EXPECT_EQ(table->IndexOfFieldOrLookup(none.get()), -1);

  EXPECT_EQ(table->ResolveField(nullptr), nullptr);
  EXPECT_EQ(table->ResolveField(f.get()), f.get());
  EXPECT_EQ(table->ResolveField(none.get()), nullptr);  // no home table: no lookup field

  EXPECT_EQ(table->OwnKey(), nullptr);
  k->SetAuxTable(table.get());
  EXPECT_EQ(table->OwnKey(), k.get());
  // A field whose home table is this table resolves to the table's own key.
  none->SetHomeTable(table.get());
  TDataErrorCapture capture;
  EXPECT_EQ(table->ResolveField(none.get()), k.get());
  k->SetAuxTable(nullptr);
}

TEST(TableRegistryTest, OnlyTypedTablesAreRegistered) {
  TDataTableType type(nullptr);
  TDataTable untyped(nullptr);
  untyped.SetTableName("RegUntyped");
  EXPECT_EQ(FindTableByName("RegUntyped"), nullptr);
  EXPECT_EQ(untyped.Captions().DefaultText(), "RegUntyped");
  EXPECT_EQ(untyped.DisplayNames().DefaultText(), "RegUntyped");

  // Getting a type does not register: the next name change does.
  untyped.SetTableType(&type);
  EXPECT_EQ(FindTableByName("RegUntyped"), nullptr);
  untyped.SetTableName("RegTyped");
  EXPECT_EQ(FindTableByName("RegTyped"), &untyped);

  TDataErrorCapture capture;
  auto twin = TDataTable::CreateTable("RegTyped", &type, {}, {}, nullptr);
  ASSERT_EQ(capture.Warnings().size(), 1u);
  EXPECT_EQ(capture.Warnings()[0].Context, "Duplicates");
  EXPECT_EQ(capture.Warnings()[0].Message, "Duplicate tables: RegTyped");
  EXPECT_EQ(twin->TableName(), "RegTyped");
  EXPECT_EQ(FindTableByName("RegTyped"), &untyped);
  twin->SetTableName("RegTwin");  // the first table keeps its entry
  EXPECT_EQ(FindTableByName("RegTyped"), &untyped);
  EXPECT_EQ(FindTableByName("RegTwin"), twin.get());
  twin.reset();
  EXPECT_EQ(FindTableByName("RegTwin"), nullptr);
  EXPECT_EQ(FindTableByName("RegTyped"), &untyped);
  untyped.SetTableType(nullptr);
}

TEST(TableRegistryTest, RenamingToTheSameNameDoesNothing) {
  TDataTableType type(nullptr);
  auto table = TDataTable::CreateTable("SameName", &type, {}, {}, nullptr);
  table->Captions().SetDefaultText("Own caption");
  table->SetTableName("SameName");
  EXPECT_EQ(FindTableByName("SameName"), table.get());
  EXPECT_EQ(type.TableList()[0], "SameName");
  table->SetTableName("OtherName");
  EXPECT_EQ(table->Captions().DefaultText(), "Own caption");
  EXPECT_EQ(table->DisplayNames().DefaultText(), "OtherName");
  EXPECT_EQ(type.TableList()[0], "OtherName");
}

TEST(DataTableTypeTest, SortedAndUnsortedListsFollowRenames) {
  for (bool sorted : {false, true}) {
    SCOPED_TRACE(sorted ? "sorted" : "unsorted");
    TDataTableType type(nullptr);
    type.SetSortTables(sorted);
    auto c = TDataTable::CreateTable("TtC", &type, {}, {}, nullptr);
    auto a = TDataTable::CreateTable("TtA", &type, {}, {}, nullptr);
    auto b = TDataTable::CreateTable("TtB", &type, {}, {}, nullptr);
    ASSERT_EQ(type.TableCount(), 3);
    const std::vector<TDataTable*> expected =
        sorted ? std::vector<TDataTable*>{a.get(), b.get(), c.get()}
               : std::vector<TDataTable*>{c.get(), a.get(), b.get()};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(type.GetTable(i), expected[i]);
    a->SetTableName("TtZ");
    EXPECT_EQ(type.GetTable(sorted ? 2 : 1), a.get());
    EXPECT_EQ(type.TableList()[sorted ? 2 : 1], "TtZ");
    type.AddTable(a.get());  // already listed
    type.AddTable(nullptr);
    EXPECT_EQ(type.TableCount(), 3);
    b->SetTableType(nullptr);
    EXPECT_EQ(type.TableCount(), 2);
    EXPECT_EQ(platform::GetOrdProp(type, "SortTables"), sorted ? 1 : 0);
  }
}

TEST(DataTableTypeTest, DestroyedTypeWarnsAndReleasesItsTables) {
  auto table = std::make_unique<TDataTable>(nullptr);
  auto second = std::make_unique<TDataTable>(nullptr);
  TDataErrorCapture capture;
  {
    TDataTableType type(nullptr);
    table->SetTableType(&type);
    table->SetTableName("TypeGone");
    second->SetTableType(&type);
  }
  ASSERT_EQ(capture.Warnings().size(), 1u);
  EXPECT_EQ(capture.Warnings()[0].Context, "TDataTableType");
  EXPECT_EQ(capture.Warnings()[0].Message,
            "TDataTableType.Destroy: TableList still contains 2 table(s). The first one is "
            "TypeGone");
  EXPECT_EQ(table->TableType(), nullptr);
  EXPECT_EQ(second->TableType(), nullptr);
}

TEST(DataTableTypeTest, DescriptionsAreCopiedIn) {
  TDataTableType type(nullptr);
  platform::TLangArray source("default");
  source.SetTexts({"uno", "one"});
  platform::SetObjectProp(type, "Descriptions", &source);
  EXPECT_EQ(type.Descriptions().Texts(), source.Texts());
  EXPECT_EQ(type.Descriptions().DefaultText(), "default");
  EXPECT_NE(&type.Descriptions(), &source);
}

class ProgressBridge : public TDataBridge {
 public:
  using TDataBridge::TDataBridge;
  TQuiltPatch* Seen = nullptr;
  void DeleteData(TDataTable*, TQuiltPatch* Patch, platform::TInterruptable* Progress) override {
    Seen = Patch;
    Progress->Counters[3] = 17;
  }
};

class SilentBridge : public TDataBridge {
 public:
  using TDataBridge::TDataBridge;
};

TEST(DataBridgeTest, WritesAreRefusedUnderTheBridgesOwnClassName) {
  struct Case {
    bool Subclass;
    bool CanWrite;
    const char* Update;
    const char* Delete;
  };
  const Case cases[] = {
      {false, false, "TDataBridge.UpdateData: Write is not allowed to this type of DataBridge",
       "TDataBridge.DeleteData: Write is not allowed to this type of DataBridge"},
      {false, true, "TDataBridge.UpdateData: Method not implemented",
       "TDataBridge.DeleteData: Method not implemented"},
      {true, false, "SilentBridge.UpdateData: Write is not allowed to this type of DataBridge",
       "SilentBridge.DeleteData: Write is not allowed to this type of DataBridge"},
      {true, true, "SilentBridge.UpdateData: Method not implemented",
       "SilentBridge.DeleteData: Method not implemented"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Update);
    std::unique_ptr<TDataBridge> bridge = c.Subclass ? std::make_unique<SilentBridge>(nullptr)
                                                     : std::make_unique<TDataBridge>(nullptr);
    bridge->SetCanWrite(c.CanWrite);
    EXPECT_EQ(bridge->ReadData(), 0);
    EXPECT_EQ(MessageOf([&] { bridge->UpdateData(nullptr, nullptr, nullptr); }), c.Update);
    EXPECT_EQ(MessageOf([&] { bridge->DeleteData(nullptr, nullptr, nullptr); }), c.Delete);
  }
  TDataBridge bridge(nullptr);
  EXPECT_FALSE(bridge.CanRead() || bridge.CanWrite() || bridge.ReuseParameters());
  EXPECT_FALSE(bridge.OnReadDbData || bridge.OnWriteDbData);
  platform::SetOrdProp(bridge, "CanRead", 1);
  EXPECT_TRUE(bridge.CanRead());
  EXPECT_THROW(platform::SetOrdProp(bridge, "ReuseParameters", 1), platform::EPropertyError);
}

TEST(DataTableTest, DeleteDataAnswersTheBridgesCounter) {
  ProgressBridge bridge(nullptr);
  auto table = TDataTable::CreateTable("", nullptr, {}, {}, &bridge);
  EXPECT_EQ(table->DeleteData(nullptr), 17);
  EXPECT_NE(bridge.Seen, nullptr);  // an empty patch stood in
  TQuiltPatch patch;
  EXPECT_EQ(table->DeleteData(&patch), 17);
  EXPECT_EQ(bridge.Seen, &patch);

  TDataTable noBridge(nullptr);
  EXPECT_THROW(noBridge.DeleteData(nullptr), platform::EAssertionFailed);
  SilentBridge refusing(nullptr);
  noBridge.SetDataBridge(&refusing);
  EXPECT_EQ(MessageOf([&] { noBridge.DeleteData(nullptr); }),
            "SilentBridge.DeleteData: Write is not allowed to this type of DataBridge");
}

TEST(DataTableTest, PublishedPropertiesByName) {
  TDataTableType type(nullptr);
  TDataBridge bridge(nullptr);
  TDataTable table(nullptr);
  platform::SetObjectProp(table, "TableType", &type);
  platform::SetStrProp(table, "TableName", "PropTable");
  platform::SetObjectProp(table, "DataBridge", &bridge);
  EXPECT_EQ(table.TableType(), &type);
  EXPECT_EQ(FindTableByName("PropTable"), &table);
  EXPECT_EQ(platform::GetStrProp(table, "TableName"), "PropTable");
  EXPECT_EQ(platform::GetObjectProp(table, "DataBridge"), &bridge);
  EXPECT_THROW(platform::SetObjectProp(table, "TableType", &bridge), platform::EPropertyError);
  table.SetTableType(nullptr);
}

TEST(DataTableTest, SpecialFields) {
  TDataField f(nullptr);
  TDataTable table(nullptr);
  EXPECT_FALSE(table.HasSpecialField(&f));
  table.SpecialFields().push_back(&f);
  EXPECT_TRUE(table.HasSpecialField(&f));
}

TEST(RunningNumberTest, NextNumberGoesBelowEverySibling) {
  struct Case {
    std::vector<int32_t> Siblings;
    int32_t Expected;
  };
  const Case cases[] = {{{5, -2, 7}, -3}, {{}, -1}, {{3, 9}, -1}, {{-1, -2, -3}, -4}};
  TDataTable table(nullptr);
  TDefaultRunningNumberGenerator& generator = DefaultRunningNumberGenerator();
  for (const Case& c : cases) {
    std::vector<TValue> siblings;
    for (int32_t s : c.Siblings) siblings.push_back(IntegerValue(s));
    TValue value;
    generator.NextNumber(table, siblings, value);
    EXPECT_EQ(value.DataType, IntegerType());
    EXPECT_EQ(ValueAsInteger(value), c.Expected);
  }
  TValue value;
  EXPECT_THROW(generator.NextNumber(table, {IntegerValue(INT32_MIN)}, value), platform::Exception);
}

TEST(RunningNumberTest, RowsNeedANumberBelowOne) {
  auto key = TKeyField::CreateSimpleKey("", IntegerType());
  auto number = TDataField::CreateField("", IntegerType());
  auto table = TDataTable::CreateTable("", nullptr, {key.get()}, {number.get()}, nullptr);
  auto row = TDataRow::Create(table.get());
  TDefaultRunningNumberGenerator generator;
  EXPECT_FALSE(generator.NeedsNumber(*row));  // the table has no running-number field
  table->SetRunningNumberField(number.get());
  struct Case {
    int32_t Value;
    bool Needs;
  };
  for (const Case& c : {Case{0, true}, Case{-4, true}, Case{1, false}, Case{12, false}}) {
    row->WriteIndexRaw(1, IntegerValue(c.Value));
    EXPECT_EQ(generator.NeedsNumber(*row), c.Needs) << c.Value;
  }
}

}  // namespace
}  // namespace dataframework
