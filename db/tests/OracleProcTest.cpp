// TMyOracleStoredProc against PostgreSQL through the Oracle engine's path:
// functions returning a cursor, fetched as rows.
#include <gtest/gtest.h>

#include "db/MyOracleStoredProc.h"
#include "db/tests/DbFixture.h"

namespace db {
namespace {

class OracleProcTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { session_ = testing::ConnectOracle().release(); }
  static void TearDownTestSuite() {
    delete session_;
    session_ = nullptr;
  }
  static std::unique_ptr<TMyOracleStoredProc> Make(const std::string& name) {
    return TMyOracleStoredProc::Create(name, session_);
  }
  static TOraSession* session_;
};
TOraSession* OracleProcTest::session_ = nullptr;

using testing::ErrorOf;

// Text of every byte value but NUL, lines and all, so that any mangling shows.
std::string LongText(size_t size) {
  std::string text(size, ' ');
  for (size_t i = 0; i < size; ++i) text[i] = static_cast<char>(' ' + (i * 7 + i / 97) % 95);
  for (size_t i = 80; i < size; i += 81) text[i] = '\n';
  return text;
}

TEST_F(OracleProcTest, RowsComeBackThroughTheCursor) {
  auto proc = Make("PRC_ORA_USERS");
  TParams& params = proc->GetParams();
  ASSERT_EQ(params.Count(), 3);
  EXPECT_EQ(params[0].Name(), "i_operation");
  EXPECT_EQ(params[1].DataType(), ftInteger);
  params.ParamByName("I_OPERATION").SetAsString("S");
  // A string for a numeric parameter: the engine parameter takes the string
  // type and the string value.
  params.ParamByName("i_id").SetAsString("2");
  TDataSet* rows = proc->OpenProc();
  EXPECT_EQ(proc->EngineObject().ParamByName("i_id").DataType(), ftString);
  EXPECT_EQ(proc->GetParams().ParamByName("i_id").AsString(), "2");
  ASSERT_EQ(rows->RecordCount(), 2);
  EXPECT_EQ(rows->FieldByName("operation").AsString(), "S");
  EXPECT_EQ(rows->FieldByName("Id").AsInteger(), 2);
  EXPECT_TRUE(rows->FieldByName("note").IsNull());
  EXPECT_EQ(rows->FieldByName("note").AsString(), "");

  auto none = Make("PRC_ORA_USERS");
  none->GetParams().ParamByName("i_operation").SetAsString("none");
  EXPECT_TRUE(none->OpenProc()->IsEmpty());

  // The session commits after the call: another statement runs normally.
  auto again = Make("PRC_ORA_USERS");
  again->GetParams().ParamByName("i_operation").SetAsString("S");
  EXPECT_EQ(again->OpenProcWidthOutClone()->RecordCount(), 2);
}

TEST_F(OracleProcTest, LongTextTravelsAsALargeObject) {
  auto proc = Make("PRC_ORA_CLOB");
  ASSERT_EQ(proc->GetParams().ParamByName("i_doc").DataType(), ftOraClob);
  const std::string doc = LongText(1 << 20);
  // Whatever type the caller gives it, a CLOB parameter stays one.
  proc->GetParams().ParamByName("i_doc").SetAsString(doc);
  proc->GetParams().ParamByName("i_id").SetAsInteger(7);
  TDataSet* rows = proc->OpenProc();
  EXPECT_EQ(proc->EngineObject().ParamByName("i_doc").DataType(), ftOraClob);
  EXPECT_EQ(rows->FieldByName("LEN").AsInteger(), 1 << 20);
  EXPECT_TRUE(rows->FieldByName("DOC").AsString() == doc) << "the text came back changed";
  EXPECT_EQ(rows->FieldByName("ID").AsInteger(), 7);

  // A caller's CLOB type sends an ordinary parameter the large-object way.
  auto users = Make("PRC_ORA_USERS");
  const std::string note = LongText(100000);
  TParam& p = users->GetParams().ParamByName("i_note");
  p.SetAsString(note);
  p.SetDataType(ftOraClob);
  users->GetParams().ParamByName("i_operation").SetAsString("S");
  EXPECT_TRUE(users->OpenProc()->FieldByName("NOTE").AsString() == note);
  EXPECT_EQ(users->EngineObject().ParamByName("i_note").DataType(), ftOraClob);
}

TEST_F(OracleProcTest, UnknownProcedureOrNoSessionGiveAnEmptyList) {
  auto unknown = Make("NO_SUCH_PROC");
  EXPECT_EQ(unknown->GetParams().Count(), 0);
  EXPECT_EQ(ErrorOf([&] { unknown->GetParams().ParamByName("i_id"); }),
            "Parameter 'i_id' not found");
  EXPECT_EQ(ErrorOf([&] { unknown->OpenProc(); }), "Stored procedure 'NO_SUCH_PROC' not found");

  TMyOracleStoredProc detached("PRC_ORA_USERS", nullptr);
  EXPECT_EQ(detached.GetParams().Count(), 0);
  EXPECT_EQ(ErrorOf([&] { detached.OpenProc(); }), "Session is not assigned");

  // LoadWithOutPrepare lets the description error through and leaves the
  // caller-side list alone.
  auto proc = Make("PRC_ORA_USERS");
  EXPECT_EQ(ErrorOf([&] { proc->LoadWithOutPrepare("NO_SUCH_PROC", session_); }),
            "Stored procedure 'NO_SUCH_PROC' not found");
  TDataSet* engine = proc->LoadWithOutPrepare("PRC_ORA_CLOB", session_);
  EXPECT_EQ(engine, &proc->EngineObject());
  EXPECT_EQ(proc->EngineObject().Params().Count(), 2);
  EXPECT_EQ(proc->GetParams().Count(), 3);
}

TEST_F(OracleProcTest, CloneCopiesOnlyWhatDoesNotAcceptChanges) {
  auto proc = Make("PRC_ORA_USERS");
  proc->GetParams().ParamByName("i_operation").SetAsString("S");
  proc->GetParams().ParamByName("i_id").SetAsInteger(5);
  std::unique_ptr<TMemDataSet> copy;
  TDataSet* editable = proc->OpenProc();
  EXPECT_EQ(proc->Clone(editable, copy), editable);
  EXPECT_EQ(copy, nullptr);

  // A fresh object: local update, once on, stays on for the object.
  auto other = Make("PRC_ORA_USERS");
  other->GetParams().ParamByName("i_operation").SetAsString("S");
  other->GetParams().ParamByName("i_id").SetAsInteger(5);
  TDataSet* fixed = other->OpenProcWidthOutClone();
  ASSERT_FALSE(fixed->CanModify());
  TDataSet* cloned = proc->Clone(fixed, copy);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(cloned, copy.get());
  ASSERT_EQ(copy->FieldCount(), fixed->FieldCount());
  ASSERT_EQ(copy->RecordCount(), 2);
  for (int i = 0; i < fixed->FieldCount(); ++i) {
    EXPECT_EQ(copy->Fields(i).FieldName(), fixed->Fields(i).FieldName());
    EXPECT_EQ(copy->Fields(i).DataType(), fixed->Fields(i).DataType());
    EXPECT_EQ(copy->Fields(i).AsString(), fixed->Fields(i).AsString());
  }
  EXPECT_EQ(copy->FieldByName("ID").AsInteger(), 5);
  copy->FieldByName("ID").SetAsInteger(6);  // the copy accepts edits
  EXPECT_EQ(fixed->FieldByName("ID").AsInteger(), 5);

  std::unique_ptr<TMyStoredProc> asInterface = std::move(proc);
  EXPECT_EQ(ErrorOf([&] { asInterface->LoadAllParams(); }), "Abstract Error");
  EXPECT_EQ(ErrorOf([&] { asInterface->Clone(); }), "Abstract Error");
}

TEST_F(OracleProcTest, ExecuteAndOutputValues) {
  auto proc = Make("PRC_INOUT");
  ASSERT_EQ(proc->GetParams().Count(), 3);
  proc->GetParams().ParamByName("@i_a").SetAsInteger(2);
  proc->GetParams().ParamByName("@io_b").SetAsInteger(5);
  proc->executeProc();
  EXPECT_EQ(proc->GetParams().ParamByName("@io_b").AsInteger(), 7);
  std::string value;
  proc->getParamValue("@o_c", value);
  EXPECT_EQ(value, "c2");
  proc->Close();
  EXPECT_TRUE(proc->EngineObject().SQL().empty());
}

}  // namespace
}  // namespace db
