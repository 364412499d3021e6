// TMyStoredProc: the one interface through which the program calls stored
// procedures, whatever the engine.
//
// Use: get an object from TDBManager::CreateStoredProc, fill GetParams() by
// name, OpenProc(), read the first row of the returned data set. The object
// owns its caller-side parameter list and the result set; both live as long as
// the object. Every operation of this base fails with "Abstract Error"
// (platform::EAbstractError); TMyOracleStoredProc and TMySqlStoredProc supply them.
//
// LoadAllParams and Clone are slots that neither concrete class fills: the
// concrete classes have non-virtual operations of those names, reached only
// through the concrete type. They are routed through the private virtuals
// DoLoadAllParams and DoClone so that the concrete names hide, not override.
#pragma once

#include <string>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/Errors.h"
#include "db/Params.h"

namespace db {

class TMyStoredProc {
 public:
  virtual ~TMyStoredProc() = default;
  TMyStoredProc(const TMyStoredProc&) = delete;
  TMyStoredProc& operator=(const TMyStoredProc&) = delete;

  // Opens the engine object as it stands, without passing parameters.
  virtual void retrieveParams() { throw platform::EAbstractError(); }
  // Runs the procedure without a result set; output values land in GetParams().
  virtual void executeProc() { throw platform::EAbstractError(); }
  // Copies each parameter of Params, by name, to the engine's parameter.
  virtual void setParams(TParams& /*Params*/) { throw platform::EAbstractError(); }
  virtual void getParamValue(const std::string& /*Name*/, std::string& /*Value*/) {
    throw platform::EAbstractError();
  }
  void LoadAllParams() { DoLoadAllParams(); }
  // The caller-side list; the object keeps ownership.
  virtual TParams& GetParams() { throw platform::EAbstractError(); }
  // Runs the procedure and returns its rows (owned by this object), first row
  // current; the parameter list then carries the output values.
  virtual TDataSet* OpenProc() { throw platform::EAbstractError(); }
  // As OpenProc, but the result set does not accept edits.
  virtual TDataSet* OpenProcWidthOutClone() { throw platform::EAbstractError(); }
  TDataSet* Clone() { return DoClone(); }
  // Replaces the engine object by a freshly described one and returns it
  // (owned by this object).
  virtual TDataSet* LoadWithOutPrepare(const std::string& /*ProcName*/,
                                       TCustomConnection* /*Connection*/) {
    throw platform::EAbstractError();
  }
  virtual void Close() { throw platform::EAbstractError(); }

 protected:
  TMyStoredProc() = default;

 private:
  virtual void DoLoadAllParams() { throw platform::EAbstractError(); }
  virtual TDataSet* DoClone() { throw platform::EAbstractError(); }
};

}  // namespace db
