// TOdbcStoredProc: a stored procedure called over ODBC, the common part of
// the engines' stored procedure objects (TOraStoredProc, TMSStoredProc).
//
// The object describes the procedure from the server's catalogue
// (SQLProcedures, SQLProcedureColumns), keeps its own parameter list, runs the
// call and fetches every row into itself: after Open it is the result set.
// It does not own its connection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/Odbc.h"
#include "db/Params.h"

namespace db {

// One parameter of a described procedure.
struct TProcParamDesc {
  std::string Name;  // as the engine lists it
  TFieldType DataType = ftUnknown;
  TParamType ParamType = ptInput;
  SQLSMALLINT SqlType = SQL_VARCHAR;
  SQLULEN Size = 0;
  SQLSMALLINT Digits = 0;
  bool InCall = true;  // false for parameters the driver hands back as rows
};

// What the catalogue says about one procedure; shared through the
// connection's cache.
struct TProcDescription {
  std::string Statement;  // "{call "schema"."name"(?,?)}"
  std::vector<TProcParamDesc> Params;
};

class TOdbcStoredProc : public TDataSet {
 public:
  ~TOdbcStoredProc() override;

  const std::string& StoredProcName() const { return FStoredProcName; }
  // A new name drops the statement and the parameter list.
  void SetStoredProcName(const std::string& name);

  // Statement tracing to stderr: the call statement and parameter names and
  // types, never their values.
  bool Debug() const { return FDebug; }
  void SetDebug(bool on) { FDebug = on; }

  // Edits of the fetched rows are accepted and kept in memory only.
  bool LocalUpdate() const { return FLocalUpdate; }
  void SetLocalUpdate(bool on) { FLocalUpdate = on; }
  bool CanModify() const override { return FLocalUpdate && Active(); }

  // The call statement; empty until the procedure is described.
  const std::string& SQL() const { return FSQL; }

  TParams& Params() { return FParams; }
  // The engine's look-up by name; nullptr when there is none.
  virtual TParam* FindParam(const std::string& name) { return FParams.FindParam(name); }
  // As FindParam, failing with EDatabaseError "Parameter '%s' not found".
  TParam& ParamByName(const std::string& name);

  // Describes the procedure when the statement is still empty: builds the
  // call statement and, when the parameter list is empty, the parameters.
  void Prepare();
  // Runs the procedure and fetches all its rows; output values are read back.
  void Open();
  // Runs the procedure without keeping rows; output values are read back.
  void ExecProc();
  // Drops the rows.
  void Close();
  // Drops the statement; the parameter list stays.
  void UnPrepare();

 protected:
  TOdbcStoredProc() = default;

  TCustomConnection* BaseConnection() const { return FConnection; }
  void SetBaseConnection(TCustomConnection* connection);

  // Engine hooks.
  virtual TFieldType ParamFieldType(SQLSMALLINT sqlType, const std::string& typeName) const;
  virtual bool IsRowsParam(const std::string& /*typeName*/) const { return false; }
  virtual std::string EngineParamName(const std::string& catalogName) const { return catalogName; }
  virtual const char* NoConnectionText() const { return "Connection is not assigned"; }
  // Around one run: the Oracle layer turns autocommit off to fetch cursors.
  virtual void BeforeRun(SQLHDBC /*hdbc*/) {}
  virtual void AfterRun(SQLHDBC /*hdbc*/, bool /*succeeded*/) {}

 private:
  std::shared_ptr<const TProcDescription> Describe(SQLHDBC hdbc);
  // A call that finds the connection lost is made once more after the
  // connection reopens (TCustomConnection::DropIfLost).
  void Run(bool keepRows);
  void RunOnce(bool keepRows);

  TCustomConnection* FConnection = nullptr;
  std::string FStoredProcName;
  std::string FSQL;
  std::shared_ptr<const TProcDescription> FDescription;
  TParams FParams;
  bool FDebug = false;
  bool FLocalUpdate = false;
};

}  // namespace db
