// TMyOracleStoredProc: the stored procedure interface on an Oracle session.
//
// Owns its engine object (oraStoredProc, also the result set after opening)
// and its caller-side list (stlParams). Errors of describing the procedure are
// swallowed at construction and in setParams: an unknown procedure gives an
// empty parameter list.
//
// Create and CreateWithDebug are the constructor with Debug false or true;
// the static factories of those names make one on the heap.
#pragma once

#include <memory>
#include <string>

#include "db/MemDataSet.h"
#include "db/MyStoredProc.h"
#include "db/OracleAccess.h"

namespace db {

class TMyOracleStoredProc : public TMyStoredProc {
 public:
  // Connection must be a TOraSession ("Invalid class typecast" otherwise);
  // nullptr leaves the engine object without a session.
  TMyOracleStoredProc(const std::string& ProcName, TCustomConnection* Connection,
                      bool Debug = false);
  ~TMyOracleStoredProc() override;

  static std::unique_ptr<TMyOracleStoredProc> Create(const std::string& ProcName,
                                                     TCustomConnection* Connection);
  static std::unique_ptr<TMyOracleStoredProc> CreateWithDebug(const std::string& ProcName,
                                                              TCustomConnection* Connection);

  void retrieveParams() override;
  void executeProc() override;
  void setParams(TParams& Params) override;
  void getParamValue(const std::string& Name, std::string& Value) override;
  TParams& GetParams() override { return stlParams; }
  TDataSet* OpenProc() override;
  TDataSet* OpenProcWidthOutClone() override;
  // Replaces the engine object; a result set returned earlier is destroyed.
  TDataSet* LoadWithOutPrepare(const std::string& ProcName, TCustomConnection* Connection) override;
  void Close() override;

  // Non-virtual: describe (errors swallowed) and mirror the engine's parameters.
  void LoadAllParams();
  void LoadParamsReturn();
  // DataSet itself when it accepts changes; otherwise a new in-memory copy
  // of its fields and records, which Copy receives (the caller owns it) and
  // the result points to.
  TDataSet* Clone(TDataSet* DataSet, std::unique_ptr<TMemDataSet>& Copy);

  TOraStoredProc& EngineObject() { return *oraStoredProc; }

 private:
  void DescribeSwallowed();

  std::unique_ptr<TOraStoredProc> oraStoredProc;
  TParams stlParams;
};

}  // namespace db
