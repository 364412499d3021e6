// TValueList and the pointer and object types.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "dataframework/types/DataType.h"
#include "platform/StringList.h"

namespace dataframework {
namespace {

int kAnything = 0;

std::vector<int> Integers(const TValueList& list) {
  std::vector<int> result;
  for (int i = 0; i < list.Count(); ++i) result.push_back(ValueAsInteger(list.GetValue(i)));
  return result;
}

std::string ListError(const std::function<void()>& call) {
  try {
    call();
  } catch (const platform::EListError& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

TEST(ValueList, SortedWithDuplicatesIgnored) {
  TValueList list(IntegerType());
  list.SetSorted(true);
  EXPECT_EQ(list.AddValue(IntegerValue(5)), 0);
  EXPECT_EQ(list.AddValue(IntegerValue(3)), 0);
  EXPECT_EQ(list.AddValue(IntegerValue(5)), 1);
  EXPECT_EQ(Integers(list), (std::vector<int>{3, 5}));
}

TEST(ValueList, SortedWithDuplicatesAccepted) {
  TValueList list(IntegerType());
  list.SetSorted(true);
  list.SetDuplicates(platform::dupAccept);
  list.AddValue(IntegerValue(5));
  list.AddValue(IntegerValue(3));
  EXPECT_EQ(list.AddValue(IntegerValue(5)), 1);  // before the run of equal values
  EXPECT_EQ(Integers(list), (std::vector<int>{3, 5, 5}));
  int index = -1;
  EXPECT_TRUE(list.Find(IntegerValue(5), index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find(IntegerValue(4), index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find(IntegerValue(9), index));
  EXPECT_EQ(index, 3);
}

TEST(ValueList, SortedWithDuplicatesRefused) {
  TValueList list(IntegerType());
  list.SetSorted(true);
  list.SetDuplicates(platform::dupError);
  list.AddValue(IntegerValue(1));
  EXPECT_EQ(ListError([&] { list.AddValue(IntegerValue(1)); }),
            "String list does not allow duplicates");
  EXPECT_EQ(list.Count(), 1);
}

TEST(ValueList, ValuesAreConvertedToTheListType) {
  TValueList list(IntegerType());
  EXPECT_EQ(list.Add("7"), 0);
  EXPECT_EQ(list.GetValue(0).DataType, IntegerType());
  EXPECT_EQ(ValueAsInteger(list.GetValue(0)), 7);
  EXPECT_EQ(list.Get(0), "7");
  list.PutValue(0, StringValue("12"));
  EXPECT_EQ(list.GetValue(0).DataType, IntegerType());
  EXPECT_EQ(ValueAsInteger(list.GetValue(0)), 12);
  EXPECT_THROW(list.Add("seven"), platform::EConvertError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(ValueList, EntriesCarryTextObjectAndValue) {
  TValueList list(StringType(10, false));
  platform::TObject object;
  list.SetSorted(true);
  list.AddItem("second", StringValue("b"), &object);
  list.AddItem("first", StringValue("A"), nullptr);
  EXPECT_EQ(list.Get(0), "first");
  EXPECT_EQ(list.GetObject(1), &object);
  EXPECT_EQ(list.IndexOfValue(StringValue("B")), 1);  // the type ignores case
  EXPECT_EQ(list.IndexOfValue(StringValue("c")), -1);
  list.Put(1, "renamed");
  list.PutObject(0, &object);
  EXPECT_EQ(list.Item(1).Text, "renamed");
  EXPECT_EQ(list.Item(0).Item, &object);
}

TEST(ValueList, PositionsAreChecked) {
  TValueList list(IntegerType());
  list.AddValue(IntegerValue(1));
  EXPECT_EQ(ListError([&] { list.GetValue(1); }), "List index out of bounds (1)");
  EXPECT_EQ(ListError([&] { list.Get(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(ListError([&] { list.Delete(5); }), "List index out of bounds (5)");
  EXPECT_EQ(ListError([&] { list.Insert(2, "x"); }), "List index out of bounds (2)");
  EXPECT_EQ(ListError([&] { list.Exchange(0, 1); }), "List index out of bounds (1)");
  list.Insert(1, "2");  // Count itself is a valid place to insert
  EXPECT_EQ(Integers(list), (std::vector<int>{1, 2}));
}

TEST(ValueList, SortedListRefusesPlacedChanges) {
  TValueList list(IntegerType());
  list.SetSorted(true);
  list.AddValue(IntegerValue(1));
  EXPECT_EQ(ListError([&] { list.Insert(0, "3"); }), "Operation not allowed on sorted list");
  EXPECT_EQ(ListError([&] { list.PutValue(0, IntegerValue(3)); }),
            "Operation not allowed on sorted list");
}

TEST(ValueList, FindAndSortNeedSortingAndAType) {
  TValueList unsorted(IntegerType());
  int index;
  try {
    unsorted.Find(IntegerValue(1), index);
    ADD_FAILURE();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), "TValueList.Find: Shouldn't use Find if list isn't sorted!");
  }
  TValueList untyped;
  untyped.Add("b");
  untyped.Add("a");
  try {
    untyped.SetSorted(true);
    ADD_FAILURE();
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot sort a list with unspecified datatype!");
  }
  EXPECT_FALSE(untyped.Sorted());
  EXPECT_THROW(untyped.Sort(), platform::Exception);
  // Without a list type values compare by their own type.
  EXPECT_EQ(untyped.IndexOfValue(StringValue("a")), 1);
}

TEST(ValueList, SortingOrdersByTheDataType) {
  std::mt19937 random(7);
  TValueList list(DoubleType());
  std::vector<double> expected;
  for (int i = 0; i < 300; ++i) {
    const double x = static_cast<int>(random() % 50) - 25;
    list.AddValue(DoubleValue(x));
    expected.push_back(x);
  }
  list.SetSorted(true);
  std::sort(expected.begin(), expected.end());
  ASSERT_EQ(list.Count(), 300);
  for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(ValueAsFloat(list.GetValue(i)), expected[i]);
}

TEST(ValueList, SortingSurvivesValuesWithoutOrder) {
  TValueList list(DoubleType());
  for (int i = 0; i < 40; ++i) list.AddValue(DoubleValue(i % 3 == 0 ? std::nan("") : i));
  list.SetSorted(true);  // a NaN compares unequal to everything, itself included
  EXPECT_EQ(list.Count(), 40);
}

TEST(ValueList, GrowthAndCapacity) {
  TValueList list(IntegerType());
  EXPECT_EQ(list.GetCapacity(), 0);
  list.AddValue(IntegerValue(1));
  EXPECT_EQ(list.GetCapacity(), 16);
  for (int i = 0; i < 16; ++i) list.AddValue(IntegerValue(i));
  EXPECT_EQ(list.GetCapacity(), 32);
  EXPECT_THROW(list.SetCapacity(3), platform::EListError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ValueList, AssignReplacesEntriesByTheTargetRules) {
  TValueList source(StringType(5, true));
  platform::TObject object;
  source.AddItem("x", StringValue("3"), &object);
  source.AddItem("y", StringValue("1"), nullptr);
  source.AddItem("z", StringValue("3"), nullptr);
  TValueList target(IntegerType());
  target.SetSorted(true);
  target.AddValue(IntegerValue(99));
  target.Assign(&source);
  EXPECT_EQ(Integers(target), (std::vector<int>{1, 3}));  // converted, sorted, duplicate ignored
  EXPECT_EQ(target.Get(1), "x");
  EXPECT_EQ(target.GetObject(1), &object);
  EXPECT_EQ(target.UpdateCount(), 0);

  platform::TStringList texts;
  texts.Add("plain");
  TValueList fromTexts(StringType(10, true));
  fromTexts.Assign(&texts);
  ASSERT_EQ(fromTexts.Count(), 1);
  EXPECT_EQ(ValueAsString(fromTexts.GetValue(0)), "plain");
  fromTexts.Assign(nullptr);
  EXPECT_EQ(fromTexts.Count(), 0);
}

TEST(PointerTypes, TextAndDescriptions) {
  EXPECT_EQ(ValueAsString(PointerValue(nullptr)), "Pointer($00000000)");
  EXPECT_EQ(ValueAsString(PointerValue(reinterpret_cast<void*>(0xAB))), "Pointer($000000AB)");
  EXPECT_EQ(ValueAsString(ObjectValue(nullptr)), "TObject($00000000)");
  EXPECT_EQ(PointerType()->SqlValue(PointerValue(&kAnything)), "''");
  EXPECT_EQ(PointerType()->SqlTypeName(), "pointer");
  EXPECT_EQ(PointerType()->TypeName(), "Pointer");
  EXPECT_EQ(ObjectType()->TypeName(), "Object");
  EXPECT_EQ(ObjectType()->Alignment(), taCenter);
  EXPECT_EQ(PointerType()->Alignment(), taLeftJustify);
  EXPECT_FALSE(PointerType()->IsStored());
  EXPECT_FALSE(ObjectType()->IsStored());
  EXPECT_EQ(PointerType()->DataSize(), static_cast<int>(sizeof(void*)));
  EXPECT_EQ(PointerType()->DisplayWidth(), 0);
}

TEST(PointerTypes, ValuesAndConversions) {
  platform::TObject object;
  const TValue o = ObjectValue(&object);
  EXPECT_EQ(ValueAsObject(o), &object);
  EXPECT_EQ(ValueAsPointer(o), static_cast<void*>(&object));
  int target = 0;
  const TValue p = PointerValue(&target);
  EXPECT_EQ(ValueAsPointer(p), &target);
  EXPECT_THROW(ValueAsFloat(p), ETypeConversionError);
  EXPECT_THROW(ValueAsCurrency(p), ETypeConversionError);
  EXPECT_THROW(ValueAsDate(p), ETypeConversionError);
  try {
    ValueAsBoolean(p);
    ADD_FAILURE();
  } catch (const ETypeConversionError& e) {
    EXPECT_EQ(e.Message(), "Cannot convert Pointer to Boolean!");
  }
  EXPECT_TRUE(PointerType()->IsEmpty(PointerValue(nullptr)));
  EXPECT_FALSE(PointerType()->IsEmpty(p));
  EXPECT_FALSE(PointerType()->IsEmpty(DoubleValue(1)));  // reading it raises
  TValue r;
  EXPECT_TRUE(ObjectType()->ParseValue("anything", r, TValueFormat{}));
  EXPECT_EQ(r.DataType, ObjectType());
  EXPECT_EQ(ValueAsObject(r), nullptr);
  ObjectType()->FormatValue(o, TValueFormat{}, r);
  EXPECT_EQ(ValueAsObject(r), &object);
  EXPECT_EQ(PointerType()->Compare(PointerValue(nullptr), p), -1);
  EXPECT_EQ(PointerType()->Compare(p, p), 0);
  unsigned char cell[sizeof(void*)];
  ObjectType()->WriteBuffer(cell, o, 0, nullptr, nullptr);
  ObjectType()->ReadBuffer(cell, 0, r, nullptr, nullptr);
  EXPECT_EQ(ValueAsObject(r), &object);  // the whole address survives the cell
}

}  // namespace
}  // namespace dataframework
