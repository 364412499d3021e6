// Live Qt objects presented as platform components.
//
// TQtComponent stands for one QObject: its metaclass is the object's Qt
// class (QtClass.h), its name is the object's objectName, and its
// published properties read and write the object. TQtForm stands for a
// window: its owned components are the adapters of its named descendants
// (widgets, actions, any QObject), kept in step with the live tree each
// time the owned components are counted, as a form owns every component on
// it whatever the nesting. A platform component given to a form adapter (a
// form translator) is owned by it like the adapters.
//
// Names: an adapter's name must be a valid component name and unique in its
// form (case-insensitively). Descendants whose objectName is empty, invalid
// or already taken, and Qt's internal objects ("qt_..."), get no adapter.
// Renaming an adapter renames the object; an adapter whose object is renamed
// follows it, and one whose object loses its name (or takes one it cannot
// use) stays without a name until the object has a usable one again. An
// adapter goes when its object is destroyed or leaves the form.
//
// Ownership: the form adapter owns the adapters of its descendants (through
// TComponent ownership) and they own their string-list and collection
// views. Adapters never own the Qt objects; they hold them weakly, so a
// widget may be destroyed at any time: its adapter stays until the next
// count and then goes. REQUIRES: the form adapter is used on the GUI
// thread.
#pragma once

#include <QPointer>
#include <memory>
#include <string>

#include "platform/Component.h"

class QObject;
class QWidget;

namespace platform {
class TCollection;
class TStrings;
}  // namespace platform

namespace platform::qt {

class TQtClass;

class TQtComponent : public platform::TComponent {
 public:
  // The adapter of Object (not owned), owned by Owner when given, named
  // after the object. REQUIRES: Object given; its name is valid and free in
  // Owner (EComponentError otherwise).
  TQtComponent(platform::TComponent* Owner, QObject* Object);
  ~TQtComponent() override;

  const platform::TClass& ClassType() const override;
  std::string ClassName() const override;
  // Renames the component and the object.
  void SetName(const std::string& NewName) override;

  // The object, or null once it has been destroyed.
  QObject* Object() const { return FObject.data(); }

  // The texts of a combo box's or list widget's items, or null for other
  // objects; owned by the adapter.
  platform::TStrings* Items();
  // The header sections of a table or tree widget, brought in step with
  // the widget; null for other objects; owned by the adapter.
  platform::TCollection* Columns();

  // The adapter standing for Object, or null.
  static TQtComponent* AdapterOf(const QObject* Object);

 private:
  friend class TQtForm;
  // Takes the object's current name, or none when it is empty, invalid,
  // taken or one of Qt's own.
  void FollowObjectName();

  QPointer<QObject> FObject;
  const TQtClass* FClass;
  std::unique_ptr<platform::TStrings> FItems;
  std::unique_ptr<platform::TCollection> FColumns;
};

class TQtForm : public TQtComponent {
 public:
  // The adapter of the window Form (not owned).
  explicit TQtForm(QWidget* Form);
  ~TQtForm() override;

  // Brings the adapters in step with the named descendants first.
  int ComponentCount() const override;

  // Adds adapters for new named descendants, drops those whose object is
  // gone or lost its name, and follows renamed objects.
  void Synchronize();

 private:
  // Set while synchronizing: the name checks of new adapters count the
  // components too.
  bool FSynchronizing = false;
};

}  // namespace platform::qt
