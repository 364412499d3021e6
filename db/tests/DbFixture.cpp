#include "db/tests/DbFixture.h"

#include <string>

namespace db::testing {
namespace {

const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new testsupport::PgClusterEnvironment);

}  // namespace

testsupport::PgCluster& Cluster() {
  static bool loaded = false;
  testsupport::PgCluster& cluster = testsupport::PgClusterEnvironment::Cluster();
  if (!loaded) {
    cluster.ExportOdbcEnvironment();
    cluster.RunSqlFile(std::string(CLAVIRA_SOURCE_DIR) + "/db/tests/procedures.sql");
    loaded = true;
  }
  return cluster;
}

std::unique_ptr<TMSConnection> ConnectSql() {
  auto& pg = Cluster();
  auto c = std::make_unique<TMSConnection>();
  c->SetServer(pg.Host() + "," + std::to_string(pg.Port()));
  c->SetUsername(pg.User());
  c->SetPassword(pg.Password());
  c->SetDatabase(pg.Database());
  c->Connect();
  return c;
}

std::unique_ptr<TOraSession> ConnectOracle() {
  auto& pg = Cluster();
  auto s = std::make_unique<TOraSession>();
  s->SetUsername(pg.User());
  s->SetPassword(pg.Password());
  s->SetServer(pg.Host() + ":" + std::to_string(pg.Port()) + ":" + pg.Database());
  s->SetDirect(true);
  s->Connect();
  return s;
}

}  // namespace db::testing
