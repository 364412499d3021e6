// TQtClass: the metaclass of a live Qt class, so that widgets take part in
// the platform's component model.
//
// The class name is Qt's without its namespace ("app::TFRMClavira" is
// "TFRMClavira", declared in unit "app"; Qt's own classes are in unit
// "Qt"); the parent is the metaclass of the Qt superclass, and QObject's
// parent is TComponent, so adapters also publish "Name" and "Tag". QAction
// descends from a class named "TBasicAction", which marks actions for the
// translation code.
//
// Published properties are the ones the meta-object declares, where their
// type has a counterpart: QString (string), bool (Boolean), integers,
// enumerations (ordinals are positions among the enumerator's keys) and
// QObject pointers (class-typed: the adapter of the object held). A few
// are added where a widget keeps texts outside its Qt properties:
//   QComboBox, QListWidget       "Items"    the item texts (a TStrings)
//   QTableWidget, QTreeWidget    "Columns"  the header sections (a TCollection
//                                            of items with "text", "toolTip")
//   QToolButton                  "Action"   its default action
// A property read or written on an adapter whose object has been destroyed
// raises platform::EPropertyError "The object of <name> no longer exists".
//
// Ownership: metaclasses are made on first use and live for the whole run.
// Single-threaded (the GUI thread).
#pragma once

#include <QMetaObject>

#include "platform/ClassRegistry.h"

namespace platform::qt {

class TQtClass : public platform::TClass {
 public:
  // The metaclass of Meta (made on first request).
  static const TQtClass& Of(const QMetaObject& Meta);
  // The class all Qt actions descend from ("TBasicAction").
  static const platform::TClass& BasicActionClass();

  const QMetaObject& Meta() const { return FMeta; }

 private:
  TQtClass(const QMetaObject& Meta, const platform::TClass* Parent);

  const QMetaObject& FMeta;
};

}  // namespace platform::qt
