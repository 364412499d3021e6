// Forward declarations of the condition classes and the relation codes, for
// headers on the elements side of the seam.
#pragma once

namespace dataframework {

class TCondition;
class TNiceCondition;
class TCommonQuilt;
class TCustomQuilt;
class TQuiltValueList;
class TQuiltField;
class TQuiltPatch;
class TQuilt;
class TCriteriaValueList;
class TCriteriaField;
class TCriteria;
class TCriteriaFieldIterator;

// How two quilts' sets of accepted rows relate.
enum TQuiltRelation { qrEqual = 0, qrDisjoint = 1, qrOverlapping = 2, qrContainedIn = 3, qrContains = 4 };

}  // namespace dataframework
