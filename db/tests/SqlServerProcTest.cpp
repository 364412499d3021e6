// TMySqlStoredProc against PostgreSQL through the SQL Server engine's path:
// functions returning a table, parameter names with "@".
#include <gtest/gtest.h>

#include "db/MySqlStoredProc.h"
#include "db/tests/DbFixture.h"

namespace db {
namespace {

class SqlServerProcTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { connection_ = testing::ConnectSql().release(); }
  static void TearDownTestSuite() {
    delete connection_;
    connection_ = nullptr;
  }
  static std::unique_ptr<TMySqlStoredProc> Make(const std::string& name) {
    return TMySqlStoredProc::Create(name, connection_);
  }
  static TMSConnection* connection_;
};
TMSConnection* SqlServerProcTest::connection_ = nullptr;

using testing::ErrorOf;

TEST_F(SqlServerProcTest, DescribesRunsAndReadsTheRows) {
  auto proc = Make("PRC_ECHO");
  TParams& params = proc->GetParams();
  ASSERT_EQ(params.Count(), 3);
  const struct {
    const char* name;
    TFieldType type;
  } expected[] = {{"i_text", ftString}, {"i_number", ftInteger}, {"i_when", ftDateTime}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(params[i].Name(), expected[i].name);
    EXPECT_EQ(params[i].DataType(), expected[i].type);
    EXPECT_EQ(params[i].ParamType(), ptInput);
    EXPECT_TRUE(params[i].IsNull());
  }
  // Other letter case, same parameter; a string for the integer parameter
  // hands over only the value.
  params.ParamByName("I_TEXT").SetAsString("hi");
  params.ParamByName("i_Number").SetAsString("42");
  params.ParamByName("i_when").SetAsDateTime(EncodeDateTime(2024, 2, 29, 12, 0, 0));
  TDataSet* rows = proc->OpenProc();
  ASSERT_NE(rows, nullptr);
  EXPECT_EQ(proc->EngineObject().ParamByName("@i_number").DataType(), ftInteger);
  EXPECT_EQ(proc->GetParams().ParamByName("i_number").DataType(), ftInteger);

  EXPECT_FALSE(rows->IsEmpty());
  EXPECT_EQ(rows->RecordCount(), 2);
  EXPECT_EQ(rows->FieldCount(), 7);
  EXPECT_EQ(rows->FieldByName("text").AsString(), "hi");
  EXPECT_EQ(rows->FieldByName("NUMBER").AsInteger(), 42);
  EXPECT_DOUBLE_EQ(rows->FieldByName("When").AsDateTime(), 45351.5);
  EXPECT_DOUBLE_EQ(rows->FieldByName("half").AsFloat(), 21.0);
  EXPECT_EQ(rows->FieldByName("DUP").AsInteger(), 1);  // "Dup" comes before "dup"
  rows->Next();
  EXPECT_EQ(rows->FieldByName("Text").AsString(), "second");
  EXPECT_DOUBLE_EQ(rows->FieldByName("When").AsDateTime(), 2.0);  // 1 January 1900
  rows->Next();
  EXPECT_TRUE(rows->Eof());
  rows->First();
  EXPECT_EQ(rows->Fields(0).AsString(), "hi");

  EXPECT_EQ(ErrorOf([&] { rows->FieldByName("Missing"); }), "Field 'Missing' not found");
  EXPECT_EQ(ErrorOf([&] { params.ParamByName("i_nope"); }), "Parameter 'i_nope' not found");
}

TEST_F(SqlServerProcTest, NullParametersAndNullColumns) {
  auto proc = Make("PRC_ECHO");
  proc->GetParams().ParamByName("i_text").SetAsString("set, then cleared");
  proc->GetParams().ParamByName("i_text").Clear();
  TDataSet* rows = proc->OpenProc();
  EXPECT_EQ(rows->FieldByName("TextWasNull").AsString(), "1");
  for (const char* column : {"Text", "Number", "When", "Half"}) {
    TField& f = rows->FieldByName(column);
    EXPECT_TRUE(f.IsNull()) << column;
    EXPECT_EQ(f.AsString(), "") << column;
    EXPECT_EQ(f.AsInteger(), 0) << column;
    EXPECT_EQ(f.AsDateTime(), 0.0) << column;
  }
}

TEST_F(SqlServerProcTest, FailuresOfDescriptionAndOfTheRun) {
  EXPECT_EQ(ErrorOf([] { Make("NO_SUCH_PROC"); }), "Stored procedure 'NO_SUCH_PROC' not found");
  EXPECT_EQ(ErrorOf([] { Make(""); }), "StoredProcName must be defined");
  EXPECT_EQ(ErrorOf([] { TMySqlStoredProc("PRC_ECHO", nullptr); }), "Connection is not assigned");

  auto proc = Make("PRC_ECHO");
  proc->GetParams().ParamByName("i_number").SetAsString("abc");
  try {
    proc->OpenProc();
    ADD_FAILURE() << "a text that is no integer reached the server";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.SqlState(), "22P02");
    EXPECT_NE(e.Message().find("invalid input syntax for type integer"), std::string::npos)
        << e.Message();
  }

  TParams foreign;
  foreign.CreateParam(ftString, "i_unknown").SetAsString("x");
  EXPECT_EQ(ErrorOf([&] { proc->setParams(foreign); }), "Parameter 'i_unknown' not found");
}

TEST_F(SqlServerProcTest, CatalogueNamesAndProceduresWithoutParametersOrRows) {
  // Created unquoted, so stored folded to lower case: found either way.
  for (const char* name : {"PRC_FOLDED", "prc_folded", "Prc_Folded"}) {
    auto proc = Make(name);
    ASSERT_EQ(proc->GetParams().Count(), 1) << name;
    proc->GetParams()[0].SetAsInteger(5);
    EXPECT_EQ(proc->OpenProc()->FieldByName("id").AsInteger(), 5) << name;
  }
  // "_" in the name is no wildcard.
  auto ab = Make("PRC_A_B");
  ASSERT_EQ(ab->GetParams().Count(), 1);
  EXPECT_EQ(ab->GetParams()[0].Name(), "i_right");

  auto none = Make("PRC_NOPARAMS");
  EXPECT_EQ(none->GetParams().Count(), 0);
  EXPECT_EQ(none->OpenProc()->FieldByName("One").AsInteger(), 1);

  auto empty = Make("PRC_NOROWS");
  TDataSet* rows = empty->OpenProc();
  EXPECT_TRUE(rows->IsEmpty());
  EXPECT_TRUE(rows->Eof());
  EXPECT_EQ(rows->FieldByName("Id").AsString(), "");

  // A second object for the same name sees the same parameter list.
  auto again = Make("PRC_ECHO");
  auto first = Make("PRC_ECHO");
  ASSERT_EQ(again->GetParams().Count(), first->GetParams().Count());
  for (int i = 0; i < first->GetParams().Count(); ++i)
    EXPECT_EQ(again->GetParams()[i].Name(), first->GetParams()[i].Name());
}

TEST_F(SqlServerProcTest, OutputValuesExecuteCloseAndLocalUpdate) {
  auto proc = Make("PRC_INOUT");
  TParams& params = proc->GetParams();
  ASSERT_EQ(params.Count(), 3);
  EXPECT_EQ(params[1].ParamType(), ptInputOutput);
  EXPECT_EQ(params[2].ParamType(), ptOutput);
  params.ParamByName("i_a").SetAsInteger(3);
  params.ParamByName("io_b").SetAsInteger(4);
  TDataSet* rows = proc->OpenProc();
  EXPECT_EQ(proc->GetParams().ParamByName("io_b").AsInteger(), 7);
  EXPECT_EQ(proc->GetParams().ParamByName("o_c").AsString(), "c3");
  std::string value;
  proc->getParamValue("o_c", value);
  EXPECT_EQ(value, "c3");
  // Edits of an opened result set stay in memory.
  ASSERT_TRUE(rows->CanModify());
  rows->Fields(0).SetAsInteger(99);
  EXPECT_EQ(rows->Fields(0).AsInteger(), 99);

  proc->GetParams().ParamByName("i_a").SetAsInteger(10);
  proc->GetParams().ParamByName("io_b").SetAsInteger(1);
  proc->executeProc();
  EXPECT_EQ(proc->GetParams().ParamByName("io_b").AsInteger(), 11);
  EXPECT_EQ(proc->GetParams().ParamByName("o_c").AsString(), "c10");

  proc->retrieveParams();  // does nothing
  proc->Close();
  EXPECT_FALSE(proc->EngineObject().Active());

  auto other = Make("PRC_NOPARAMS");
  TDataSet* readOnly = other->OpenProcWidthOutClone();
  EXPECT_FALSE(readOnly->CanModify());
  EXPECT_THROW(readOnly->Fields(0).SetAsInteger(2), EDatabaseError);
  EXPECT_EQ(readOnly->Fields(0).AsInteger(), 1);
}

TEST_F(SqlServerProcTest, UnsuppliedSlotsAreAbstract) {
  std::unique_ptr<TMyStoredProc> proc = Make("PRC_NOPARAMS");
  EXPECT_EQ(ErrorOf([&] { proc->LoadAllParams(); }), "Abstract Error");
  EXPECT_EQ(ErrorOf([&] { proc->Clone(); }), "Abstract Error");
  EXPECT_EQ(ErrorOf([&] { proc->LoadWithOutPrepare("PRC_ECHO", connection_); }),
            "Abstract Error");
  // The class's own LoadAllParams describes again.
  auto concrete = Make("PRC_ECHO");
  concrete->LoadAllParams();
  EXPECT_EQ(concrete->GetParams().Count(), 3);
}

TEST_F(SqlServerProcTest, DebugTracesTheStatementButNoValues) {
  ::testing::internal::CaptureStderr();
  auto proc = TMySqlStoredProc::CreateWithDebug("PRC_ECHO", connection_);
  proc->GetParams().ParamByName("i_text").SetAsString("SecretValue");
  proc->OpenProc();
  std::string trace = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(trace.find("{call \"public\".\"PRC_ECHO\"(?,?,?)}"), std::string::npos) << trace;
  EXPECT_NE(trace.find("i_text"), std::string::npos) << trace;
  EXPECT_EQ(trace.find("SecretValue"), std::string::npos) << trace;
}

}  // namespace
}  // namespace db
