// The texts a widget keeps outside its Qt properties, as platform lists:
// the items of a combo box or list widget as a TStrings, and the header
// sections of a table or tree widget as a TCollection of TQtColumnItem.
//
// Ownership: both hold their widget weakly; once it is destroyed a list
// reads as empty and refuses changes with EListError. Items of the column
// collection are owned by it (TCollection).
#pragma once

#include <QPointer>
#include <string>

#include "platform/Collection.h"
#include "platform/StringList.h"

class QObject;

namespace platform::qt {

// Item texts of a QComboBox or QListWidget; objects are not kept.
class TQtItemStrings : public platform::TStrings {
 public:
  // REQUIRES: Widget is a QComboBox or a QListWidget.
  explicit TQtItemStrings(QObject* Widget);

  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;
  int GetCount() const override;

 private:
  void Check(int Index, int Count) const;
  QPointer<QObject> FWidget;
};

// One header section; its index in the collection is the column.
class TQtColumnItem : public platform::TCollectionItem {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TQtColumnItem(platform::TCollection* Collection);

  std::string Text() const;
  void SetText(const std::string& Value);
  std::string ToolTip() const;
  void SetToolTip(const std::string& Value);
  std::string DisplayName() const override { return Text(); }
};

// The header sections of a QTableWidget (horizontal) or QTreeWidget.
class TQtColumns : public platform::TCollection {
 public:
  // REQUIRES: Widget is a QTableWidget or a QTreeWidget.
  explicit TQtColumns(QObject* Widget);

  // Adds or removes items until there is one per column of the widget.
  void Synchronize();
  QObject* Widget() const { return FWidget.data(); }

 private:
  QPointer<QObject> FWidget;
};

}  // namespace platform::qt
