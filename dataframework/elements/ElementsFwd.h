// Forward declarations and the small enumerations of the data elements, for
// headers on the conditions side of the seam (conditions and elements use each
// other; a contract header includes only the other side's declarations).
#pragma once

#include <cstdint>

namespace dataframework {

class TSingleton;
class TDataField;
class TKeyField;
class TCalcField;
class TFictiveField;
class TDataFieldSet;
class TDataFieldSetIterator;
class TDataTable;
class TDataTableType;
class TDataBridge;
class TCacheLoadPolicy;
class TRunningNumberGenerator;
class TAbstractRow;
class TDataRow;
class TSubTotalRow;
class TSubTotalHandler;
class TRowSource;
class TAbstractRowStorage;
class TCustomRowStorage;
class TRowStorage;
class TRowStorageTreeKey;
class TRowSortOrder;
class TRowSortOrderRule;
class TGetRowsHandler;
class TDataRowList;

// State of a data row with respect to its storage and the database.
enum TRowState : uint8_t {
  rsUnchanged = 0,         // as loaded from the database
  rsModified = 1,          // a loaded row whose values changed
  rsDeleted = 2,           // removed from the tree
  rsInserted = 3,          // put into a storage by this program
  rsExtern = 4,            // not under a storage's control
  rsExternControlled = 5,  // not under a storage's control; new rows start here
};

// Answer of a storage's PutRow (display texts in the message table).
enum TPutResult : uint8_t {
  prOk = 0,
  prValuesMissing = 1,
  prKeyConflict = 2,
  prKeyOverwrited = 3,
  prIllegalKeyValue = 4,
  prRowsAdded = 5,
  prCannotAdd = 6,
};

// What PutRow does when the key is taken.
enum TPutAction : uint8_t {
  paRefuse = 0,
  paOverwrite = 1,
  paOverwriteChanged = 2,
  paAddStrict = 3,
  paAddKeep = 4,
  paAddFill = 5,
  paAddTake = 6,
  paReinsert = 7,
};

// What a key write does when the new key is taken.
enum TSetAction : uint8_t { saRefuse = 0, saOverwrite = 1 };

// How GetRows hands over the accepted rows.
enum TGetRowsMode : uint8_t { gmRows = 0, gmCopies = 1, gmMoveOut = 2, gmDelete = 3 };

// Kinds of change a storage is told about (RowChanged).
enum TRowChangeKind : int { rcInserted = 0, rcChanged = 1, rcRemoved = 2, rcVisibility = 3 };

}  // namespace dataframework
