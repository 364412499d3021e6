// The real clavira-grid --export, run as a script runs it, against the
// test cluster through the connection the runtime library configures.
#include <fstream>
#include <sstream>

#include "grid/tests/GridFixture.h"
#include "testsupport/Process.h"

namespace grid::test {
namespace {

using Lines = std::vector<std::string>;

class GridCli : public ::testing::Test {
 protected:
  void SetUp() override {
    Db = std::make_unique<TPgSession>();
    MakeSalesTable(*Db);
  }
  testsupport::ProcessResult Run(const std::vector<std::string>& Args) const {
    std::vector<std::string> argv{CLAVIRA_GRID};
    argv.insert(argv.end(), Args.begin(), Args.end());
    auto& cluster = dataframework::bridge::test::Cluster();
    return testsupport::RunProcess(
        argv, "",
        {"VESQUIN_CONFIG=", "VESQUIN_ENGINE=SQL",
         "VESQUIN_CONNECTION=" + cluster.SqlServerConnectionString(), "QT_QPA_PLATFORM=offscreen"});
  }
  std::unique_ptr<TPgSession> Db;
};

TEST_F(GridCli, ExportsTheTableTheFilterAndTheGroups) {
  struct {
    std::vector<std::string> Args;
    std::vector<Lines> Records;
  } cases[] = {
      {{"--table", "sales", "--filter", "month: 2-3", "--export", "-"},
       {{"region", "product", "month", "amount", "quantity"},
        {"north", "apple", "2", "20", "1"},
        {"north", "apple", "3", "30", "1"},
        {"south", "apple", "2", "200", "4"}}},
      {{"--table", "sales", "--group", "region", "--subtotals", "--filter",
        "TCriteria(TCriteriaField(sales.product: pear-q))", "--export", "-"},
       {{"level", "region", "product", "month", "amount", "quantity"},
        {"1", "north", "", "", "5", "2"},
        {"", "north", "pear", "1", "5", "2"}}},
      {{"--table", "SALES", "--group", "region,product", "--grand-total", "--subtotals", "--filter",
        "region: south", "--export", "-"},
       {{"level", "region", "product", "month", "amount", "quantity"},
        {"0", "", "", "", "307.5", "12"},
        {"1", "south", "", "", "307.5", "12"},
        {"2", "south", "apple", "", "300", "7"},
        {"", "south", "apple", "1", "100", "3"},
        {"", "south", "apple", "2", "200", "4"},
        {"2", "south", "kiwi,\"gold\"", "", "7.5", "5"},
        {"", "south", "kiwi,\"gold\"", "1", "7.5", "5"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args[1] + " " + c.Args[3]);
    const auto result = Run(c.Args);
    EXPECT_EQ(result.ExitCode, 0) << result.Error;
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(ReadCsv(result.Output), c.Records);
  }
}

TEST_F(GridCli, ExportsToAFile) {
  const std::string dir = testsupport::MakeTempDir("grid-cli");
  const std::string file = dir + "/sales.csv";
  const auto result = Run({"--table", "sales", "--export", file});
  ASSERT_EQ(result.ExitCode, 0) << result.Error;
  EXPECT_EQ(result.Output, "");
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const auto records = ReadCsv(text.str());
  ASSERT_EQ(records.size(), 8u);
  EXPECT_EQ(records[7], (Lines{"south", "kiwi,\"gold\"", "1", "7.5", "5"}));
}

TEST_F(GridCli, BadRequestsFailWithOneClearLine) {
  struct {
    std::vector<std::string> Args;
    int Exit;
    std::string Error;
  } cases[] = {
      {{"--table", "nosuch", "--export", "-"}, 1, "clavira-grid: Table nosuch does not exist\n"},
      {{"--table", "sales", "--group", "colour", "--export", "-"},
       1,
       "clavira-grid: Unknown column colour in table sales\n"},
      {{"--table", "sales", "--filter", "colour: red", "--export", "-"},
       1,
       "clavira-grid: Invalid filter: Unknown column colour in table sales\n"},
      {{"--table", "sales", "--filter", "month: x-", "--export", "-"},
       1,
       "clavira-grid: Invalid filter for column month: Invalid criteria text: x-\n"},
      {{"--table", "sales", "--export", "/nonexistent/dir/x.csv"},
       1,
       "clavira-grid: Cannot write /nonexistent/dir/x.csv\n"},
      {{"--export", "-"}, 2, "clavira-grid: --export needs --table\n"},
      {{"--table"}, 2, "clavira-grid: --table needs a value\n"},
      {{"--colour"}, 2, "clavira-grid: unknown option --colour\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Error);
    const auto result = Run(c.Args);
    EXPECT_EQ(result.ExitCode, c.Exit);
    EXPECT_EQ(result.Error.substr(0, c.Error.size()), c.Error);
    EXPECT_EQ(result.Output, "") << "nothing half written";
  }
}

TEST_F(GridCli, NoDatabaseConfiguredIsAnError) {
  const auto result = testsupport::RunProcess(
      {CLAVIRA_GRID, "--table", "sales", "--export", "-"}, "",
      {"VESQUIN_CONFIG=", "VESQUIN_ENGINE=", "VESQUIN_CONNECTION=", "HOME=/nonexistent",
       "XDG_CONFIG_HOME="});
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_EQ(result.Error.rfind("clavira-grid: ", 0), 0u) << result.Error;
  EXPECT_EQ(result.Output, "");
}

}  // namespace
}  // namespace grid::test
