// The grid tests' world: a sales table in the bridge tests' PostgreSQL
// cluster, made afresh for every test, and helpers that read a document's
// rows as text.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dataframework/bridge/tests/BridgeFixture.h"
#include "grid/GridDocument.h"

namespace grid::test {

using dataframework::bridge::test::TPgSession;

// sales(region, product, month, amount, quantity), key (region, product,
// month): north/apple 1..3 amounts 10, 20, 30, quantities 1, 1, 1;
// north/pear 1 amount 5; south/apple 1..2 amounts 100, 200; south/"kiwi,
// \"gold\"" 1 amount 7.5.
void MakeSalesTable(TPgSession& Db);

// Every data row of the document in key order as
// "region/product/month amount quantity state".
std::vector<std::string> Rows(const TGridDocument& Document);
// The storage's view: "S<level>:<keys>" for subtotal rows, keys for rows.
std::vector<std::string> View(const TGridDocument& Document);
// A value as the CSV shows it.
std::string Cell(const dataframework::TAbstractRow& Row, dataframework::TDataField* Field);

// RFC 4180 records of Text.
std::vector<std::vector<std::string>> ReadCsv(const std::string& Text);

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<TPgSession> Db;
  std::unique_ptr<dataframework::bridge::TDbDataBridge> Bridge;
  std::unique_ptr<TGridDocument> Doc;
};

}  // namespace grid::test
