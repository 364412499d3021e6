// The shared PostgreSQL cluster of db_tests, with the test procedures loaded
// and connections of both engines' kinds on it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/OracleAccess.h"
#include "platform/Exception.h"
#include "db/SqlServerAccess.h"
#include "testsupport/PgCluster.h"

namespace db::testing {

// The cluster, started on first use with procedures.sql loaded and the ODBC
// environment pointing both engines at the PostgreSQL driver.
testsupport::PgCluster& Cluster();

std::unique_ptr<TMSConnection> ConnectSql();
// Direct mode: host:port:database.
std::unique_ptr<TOraSession> ConnectOracle();


// The message of the platform error that F raises, or "(no error)".
template <typename F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const platform::Exception& e) {
    return e.Message();
  }
  return "(no error)";
}

}  // namespace db::testing
