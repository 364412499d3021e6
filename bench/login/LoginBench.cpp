// Whole login attempts on loopback against their floor: the same procedure
// calls made directly through ODBC and one libldap bind.
//
// The benchmark starts its own PostgreSQL and slapd (LoginWorld). Attempts
// run on the SQL Server engine's classes through the PostgreSQL ODBC driver.
// BM_*_Memory runs 10,000 attempts and reports the growth of the resident
// set between the first and the last thousand as rss_growth_kb.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/login/RawFloor.h"
#include "db/DBManagerClass.h"
#include "db/Vesquin.h"
#include "login/DirectoryBind.h"
#include "login/ULoginVelkor.h"
#include "testsupport/LoginWorld.h"
#include "users/UCatalogueUsers.h"

namespace {

using testsupport::LoginWorld;

constexpr const char* kEngine = "SQL";
constexpr int kDatabaseSettings = 2;
constexpr int kDirectorySettings = 3;

struct Setup {
  std::unique_ptr<LoginWorld> World;
  std::unique_ptr<bench::RawOdbc> Raw;
};

Setup& World() {
  static Setup setup = [] {
    Setup s;
    // Settings 3 (kDirectorySettings) sends users to the directory.
    s.World = testsupport::MakeTestWorld();
    s.World->Connect(kEngine);
    s.Raw = std::make_unique<bench::RawOdbc>(s.World->OdbcConnectionString(kEngine));
    return s;
  }();
  return setup;
}

void Attempt(benchmark::State& state, const char* name, const char* password, int settings) {
  int32_t code = 0;
  std::unique_ptr<users::TUser> user = login::AuthenticateUser(name, password, code, settings);
  if (code != 1 || !user) state.SkipWithError("attempt not authenticated");
  benchmark::DoNotOptimize(user);
}

// The floor of a database attempt: settings, password check, user record.
void FloorDatabase(benchmark::State& state) {
  bench::RawOdbc& raw = *World().Raw;
  const auto settings = raw.LoadSettings(kDatabaseSettings);
  const std::string encrypted = db::EncryptDB("ana-pw");
  const int32_t code = raw.Authenticate("B", "ana", &encrypted);
  if (settings.Any || code != 10 || raw.LoadUser(code, 2) != 50)
    state.SkipWithError("floor attempt failed");
}

// The floor of a directory attempt: settings, name check, bind, user record.
void FloorDirectory(benchmark::State& state) {
  bench::RawOdbc& raw = *World().Raw;
  const auto settings = raw.LoadSettings(kDirectorySettings);
  const int32_t code = raw.Authenticate("C", "alice", nullptr);
  std::string dn = settings.UserString;
  dn.replace(dn.find("{0}"), 3, "alice");
  const bool bound = bench::RawLdapBind(settings.Path, dn, "alice-secret");
  if (!settings.Any || code != 12 || !bound || raw.LoadUser(code, 2) != 50)
    state.SkipWithError("floor attempt failed");
}

void BM_DatabaseUser_Flow(benchmark::State& state) {
  World();
  for (auto _ : state) Attempt(state, "ana", "ana-pw", kDatabaseSettings);
}
void BM_DatabaseUser_Floor(benchmark::State& state) {
  World();
  for (auto _ : state) FloorDatabase(state);
}
void BM_DirectoryUser_Flow(benchmark::State& state) {
  World();
  for (auto _ : state) Attempt(state, "alice", "alice-secret", kDirectorySettings);
}
void BM_DirectoryUser_Floor(benchmark::State& state) {
  World();
  for (auto _ : state) FloorDirectory(state);
}

// The bind alone, through the login service and directly.
void BM_DirectoryBind_Service(benchmark::State& state) {
  World();
  const std::string dn = "uid=alice,ou=people,dc=clavira,dc=test";
  for (auto _ : state) {
    if (!login::DirectoryBind(dn, "alice-secret", World().World->DirectoryPath(), 4))
      state.SkipWithError("bind failed");
  }
}
void BM_DirectoryBind_Raw(benchmark::State& state) {
  World();
  const std::string dn = "uid=alice,ou=people,dc=clavira,dc=test";
  for (auto _ : state) {
    if (!bench::RawLdapBind(World().World->DirectoryPath(), dn, "alice-secret"))
      state.SkipWithError("bind failed");
  }
}

long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// 10,000 attempts in one run; the resident set after the first thousand is
// the baseline.
void Memory(benchmark::State& state, const char* name, const char* password, int settings) {
  World();
  for (auto _ : state) {
    long baseline = 0;
    for (int i = 0; i < 10000; ++i) {
      if (i == 1000) baseline = ResidentKb();
      Attempt(state, name, password, settings);
    }
    state.counters["rss_growth_kb"] = static_cast<double>(ResidentKb() - baseline);
    state.counters["rss_kb"] = static_cast<double>(ResidentKb());
  }
}
void BM_DatabaseUser_Memory(benchmark::State& state) {
  Memory(state, "ana", "ana-pw", kDatabaseSettings);
}
void BM_DirectoryUser_Memory(benchmark::State& state) {
  Memory(state, "alice", "alice-secret", kDirectorySettings);
}

BENCHMARK(BM_DatabaseUser_Flow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DatabaseUser_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirectoryUser_Flow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirectoryUser_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirectoryBind_Service)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirectoryBind_Raw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DatabaseUser_Memory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectoryUser_Memory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
