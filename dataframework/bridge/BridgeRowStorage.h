// TBridgeRowStorage: the row storage a database bridge fills and saves.
//
// Beside the rows it keeps what the bridge needs to load on demand and to
// save safely: the loaded quilt (exactly the part of the table whose rows
// have been read; a request loads only what lies outside it) and, for every
// row read from the database, a fingerprint of its key and of its values as
// read (16 bytes a row), against which a save detects rows changed or
// deleted in the database meanwhile.
//
// Ownership: as TRowStorage; the storage owns the loaded quilt.
// REQUIRES: the table outlives the storage.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>

#include "dataframework/conditions/Quilt.h"
#include "dataframework/elements/RowStorage.h"

namespace dataframework::bridge {

class TBridgeRowStorage : public TRowStorage {
 public:
  explicit TBridgeRowStorage(TDataTable* Table);
  ~TBridgeRowStorage() override;

  // What has been loaded (a quilt of patches on the table's fields).
  const TQuilt& Loaded() const noexcept { return *FLoaded; }
  TQuilt& Loaded() noexcept { return *FLoaded; }

  // Version fingerprints of the rows read, by key fingerprint.
  std::unordered_map<uint64_t, uint64_t>& Versions() noexcept { return FVersions; }
  const std::unordered_map<uint64_t, uint64_t>& Versions() const noexcept { return FVersions; }

  // Frees the deleted rows Drop answers true for (their deletion reached
  // the database).
  void ForgetDeletedRows(const std::function<bool(const TDataRow&)>& Drop);

 private:
  std::unique_ptr<TQuilt> FLoaded;
  std::unordered_map<uint64_t, uint64_t> FVersions;
};

}  // namespace dataframework::bridge
