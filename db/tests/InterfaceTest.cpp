// The stored procedure interface without a server: abstract slots and the
// connection kinds each class accepts.
#include <gtest/gtest.h>

#include "db/tests/DbFixture.h"

#include "db/MyOracleStoredProc.h"
#include "db/MySqlStoredProc.h"

namespace db {
namespace {

class TBareStoredProc : public TMyStoredProc {};

using testing::ErrorOf;

TEST(StoredProcInterfaceTest, EveryOperationOfTheBaseIsAbstract) {
  TBareStoredProc bare;
  TMyStoredProc& proc = bare;
  TParams params;
  std::string value;
  const std::function<void()> slots[] = {
      [&] { proc.retrieveParams(); },  [&] { proc.executeProc(); },
      [&] { proc.setParams(params); }, [&] { proc.getParamValue("x", value); },
      [&] { proc.LoadAllParams(); },   [&] { proc.GetParams(); },
      [&] { proc.OpenProc(); },        [&] { proc.OpenProcWidthOutClone(); },
      [&] { proc.Clone(); },           [&] { proc.LoadWithOutPrepare("x", nullptr); },
      [&] { proc.Close(); },
  };
  for (const auto& slot : slots) EXPECT_EQ(ErrorOf(slot), "Abstract Error");
  EXPECT_THROW(proc.Close(), platform::EAbstractError);
}

TEST(StoredProcInterfaceTest, EachClassTakesOnlyItsEnginesConnection) {
  TOraSession session;
  TMSConnection connection;
  EXPECT_EQ(ErrorOf([&] { TMySqlStoredProc("PRC_X", &session); }), "Invalid class typecast");
  EXPECT_EQ(ErrorOf([&] { TMyOracleStoredProc("PRC_X", &connection); }), "Invalid class typecast");
  EXPECT_THROW(TMyOracleStoredProc::CreateWithDebug("PRC_X", &connection), EInvalidCast);
  // The right kind, not connected: Oracle swallows the description error.
  EXPECT_EQ(TMyOracleStoredProc("PRC_X", &session).GetParams().Count(), 0);
  EXPECT_EQ(ErrorOf([&] { TMySqlStoredProc("PRC_X", &connection); }), "Not connected");
}

}  // namespace
}  // namespace db
