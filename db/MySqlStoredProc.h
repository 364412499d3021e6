// TMySqlStoredProc: the stored procedure interface on a SQL Server connection.
//
// Owns its engine object (msStoredProc, also the result set after opening)
// and its caller-side list (stlParams). Errors of describing the procedure
// (empty name, unknown procedure, no connection) pass out of the constructor.
// Parameter names carry no leading "@".
//
// Create and CreateWithDebug are the constructor with Debug false or true;
// the static factories of those names make one on the heap.
#pragma once

#include <memory>
#include <string>

#include "db/MyStoredProc.h"
#include "db/SqlServerAccess.h"

namespace db {

class TMySqlStoredProc : public TMyStoredProc {
 public:
  // Connection must be a TMSConnection ("Invalid class typecast" otherwise).
  TMySqlStoredProc(const std::string& ProcName, TCustomConnection* Connection, bool Debug = false);
  ~TMySqlStoredProc() override;

  static std::unique_ptr<TMySqlStoredProc> Create(const std::string& ProcName,
                                                  TCustomConnection* Connection);
  static std::unique_ptr<TMySqlStoredProc> CreateWithDebug(const std::string& ProcName,
                                                           TCustomConnection* Connection);

  // Does nothing.
  void retrieveParams() override {}
  void executeProc() override;
  void setParams(TParams& Params) override;
  void getParamValue(const std::string& Name, std::string& Value) override;
  TParams& GetParams() override { return stlParams; }
  TDataSet* OpenProc() override;
  TDataSet* OpenProcWidthOutClone() override;
  void Close() override;

  // Non-virtual: describe (errors pass) and mirror the engine's parameters.
  void LoadAllParams();
  void LoadParamsReturn();

  TMSStoredProc& EngineObject() { return *msStoredProc; }

 private:
  std::unique_ptr<TMSStoredProc> msStoredProc;
  TParams stlParams;
};

}  // namespace db
