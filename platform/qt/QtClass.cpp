#include "platform/qt/QtClass.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMetaProperty>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <unordered_map>

#include "platform/Component.h"
#include "platform/NoDestructor.h"
#include "platform/StringList.h"
#include "platform/qt/QtComponent.h"
#include "platform/qt/QtLists.h"
#include "platform/qt/QtText.h"

namespace platform::qt {

namespace {

using platform::EPropertyError;
using platform::TObject;
using platform::TPropInfo;

// The live object behind an adapter; a destroyed one cannot be read.
QObject* Live(const TObject& Instance) {
  const auto* adapter = dynamic_cast<const TQtComponent*>(&Instance);
  if (adapter == nullptr) throw EPropertyError("Invalid property type: " + Instance.ClassName());
  QObject* object = adapter->Object();
  if (object == nullptr) {
    throw EPropertyError("The object of " + adapter->Name() + " no longer exists");
  }
  return object;
}

TQtComponent& Adapter(TObject& Instance) {
  Live(Instance);
  return static_cast<TQtComponent&>(Instance);
}

const platform::TClass* QObjectClass() {
  return &TQtClass::Of(QObject::staticMetaObject);
}

// Descriptor of Qt property Index of Meta, or false when its type has no
// counterpart in the component model.
bool MakeProperty(const QMetaObject& Meta, int Index, TPropInfo& Info) {
  const QMetaProperty property = Meta.property(Index);
  if (!property.isReadable() || !property.isScriptable()) return false;
  Info.Name = property.name();
  const bool writable = property.isWritable();
  const QMetaType type = property.metaType();

  if (property.isEnumType() && !property.isFlagType()) {
    const QMetaEnum enumerator = property.enumerator();
    Info.Kind = platform::tkEnumeration;
    for (int k = 0; k < enumerator.keyCount(); ++k) Info.EnumNames.push_back(enumerator.key(k));
    Info.GetOrd = [property, enumerator](const TObject& o) -> std::int64_t {
      const int value = property.read(Live(o)).toInt();
      for (int k = 0; k < enumerator.keyCount(); ++k) {
        if (enumerator.value(k) == value) return k;
      }
      return value;
    };
    if (writable) {
      Info.SetOrd = [property, enumerator](TObject& o, std::int64_t v) {
        if (v < 0 || v >= enumerator.keyCount()) throw EPropertyError("Invalid property value");
        QObject* object = Live(o);
        if (!property.write(object, QString::fromLatin1(enumerator.key(static_cast<int>(v))))) {
          throw EPropertyError("Invalid property value");
        }
      };
    }
    return true;
  }

  switch (type.id()) {
    case QMetaType::QString:
      Info.Kind = platform::tkString;
      Info.GetStr = [property](const TObject& o) {
        return ToUtf8(property.read(Live(o)).toString());
      };
      if (writable) {
        Info.SetStr = [property](TObject& o, const std::string& v) {
          QObject* object = Live(o);
          if (!property.write(object, FromUtf8(v))) {
            throw EPropertyError("Invalid property value");
          }
        };
      }
      return true;
    case QMetaType::Bool:
      Info.Kind = platform::tkBoolean;
      Info.EnumNames = {"False", "True"};
      Info.GetOrd = [property](const TObject& o) -> std::int64_t {
        return property.read(Live(o)).toBool() ? 1 : 0;
      };
      if (writable) {
        Info.SetOrd = [property](TObject& o, std::int64_t v) {
          if (v != 0 && v != 1) throw EPropertyError("Invalid property value");
          property.write(Live(o), v == 1);
        };
      }
      return true;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
      Info.Kind = platform::tkInteger;
      Info.GetOrd = [property](const TObject& o) -> std::int64_t {
        return property.read(Live(o)).toLongLong();
      };
      if (writable) {
        Info.SetOrd = [property](TObject& o, std::int64_t v) {
          if (!property.write(Live(o), QVariant::fromValue(static_cast<qlonglong>(v)))) {
            throw EPropertyError("Invalid property value");
          }
        };
      }
      return true;
    default:
      break;
  }

  if ((type.flags() & QMetaType::PointerToQObject) && type.metaObject() != nullptr) {
    const QMetaObject* declared = type.metaObject();
    Info.Kind = platform::tkClass;
    Info.PropClass = &QObjectClass;
    Info.GetObj = [property](const TObject& o) -> TObject* {
      return TQtComponent::AdapterOf(property.read(Live(o)).value<QObject*>());
    };
    if (writable) {
      Info.SetObj = [property, declared](TObject& o, TObject* v) {
        QObject* object = Live(o);
        QObject* target = nullptr;
        if (v != nullptr) {
          target = Live(*v);
          if (!target->metaObject()->inherits(declared)) {
            throw EPropertyError("Invalid property value");
          }
        }
        // A variant of the property's own pointer type holding target.
        if (!property.write(object, QVariant(property.metaType(), &target))) {
          throw EPropertyError("Invalid property value");
        }
      };
    }
    return true;
  }
  return false;
}

// Texts that widgets keep outside their Qt properties.
void AddListProperties(const QMetaObject& Meta, std::vector<TPropInfo>& Properties) {
  if (&Meta == &QComboBox::staticMetaObject || &Meta == &QListWidget::staticMetaObject) {
    TPropInfo items;
    items.Name = "Items";
    items.Kind = platform::tkClass;
    items.PropClass = [] { return &platform::TStrings::StaticClass(); };
    items.GetObj = [](const TObject& o) -> TObject* {
      return Adapter(const_cast<TObject&>(o)).Items();
    };
    Properties.push_back(std::move(items));
  }
  if (&Meta == &QTableWidget::staticMetaObject || &Meta == &QTreeWidget::staticMetaObject) {
    TPropInfo columns;
    columns.Name = "Columns";
    columns.Kind = platform::tkClass;
    columns.PropClass = [] { return &platform::TCollection::StaticClass(); };
    columns.GetObj = [](const TObject& o) -> TObject* {
      return Adapter(const_cast<TObject&>(o)).Columns();
    };
    Properties.push_back(std::move(columns));
  }
  if (&Meta == &QToolButton::staticMetaObject) {
    TPropInfo action;
    action.Name = "Action";
    action.Kind = platform::tkClass;
    action.PropClass = [] { return &TQtClass::BasicActionClass(); };
    action.GetObj = [](const TObject& o) -> TObject* {
      return TQtComponent::AdapterOf(static_cast<QToolButton*>(Live(o))->defaultAction());
    };
    action.SetObj = [](TObject& o, TObject* v) {
      auto* button = static_cast<QToolButton*>(Live(o));
      QAction* target = nullptr;
      if (v != nullptr) {
        target = qobject_cast<QAction*>(Live(*v));
        if (target == nullptr) throw EPropertyError("Invalid property value");
      }
      button->setDefaultAction(target);
    };
    Properties.push_back(std::move(action));
  }
}

std::vector<TPropInfo> PropertiesOf(const QMetaObject& Meta) {
  std::vector<TPropInfo> properties;
  for (int i = Meta.propertyOffset(); i < Meta.propertyCount(); ++i) {
    TPropInfo info;
    if (MakeProperty(Meta, i, info)) properties.push_back(std::move(info));
  }
  AddListProperties(Meta, properties);
  return properties;
}

// "app::TFRMClavira" is class "TFRMClavira" of unit "app".
std::string ShortName(const QMetaObject& Meta) {
  const std::string full = Meta.className();
  const auto colon = full.rfind("::");
  return colon == std::string::npos ? full : full.substr(colon + 2);
}

std::string UnitOf(const QMetaObject& Meta) {
  const std::string full = Meta.className();
  const auto colon = full.rfind("::");
  return colon == std::string::npos ? std::string("Qt") : full.substr(0, colon);
}

const platform::TClass* ParentOf(const QMetaObject& Meta) {
  if (&Meta == &QAction::staticMetaObject) return &TQtClass::BasicActionClass();
  if (Meta.superClass() == nullptr) return &platform::TComponent::StaticClass();
  return &TQtClass::Of(*Meta.superClass());
}

}  // namespace

TQtClass::TQtClass(const QMetaObject& Meta, const platform::TClass* Parent)
    : platform::TClass(ShortName(Meta), Parent, UnitOf(Meta), PropertiesOf(Meta)), FMeta(Meta) {}

const TQtClass& TQtClass::Of(const QMetaObject& Meta) {
  // Metaclasses are referred to by adapters and rows until the very end.
  static platform::TNoDestructor<std::unordered_map<const QMetaObject*, std::unique_ptr<TQtClass>>>
      classes;
  auto found = classes->find(&Meta);
  if (found != classes->end()) return *found->second;
  const platform::TClass* parent = ParentOf(Meta);  // made first: may add entries
  auto made = std::unique_ptr<TQtClass>(new TQtClass(Meta, parent));
  return *classes->emplace(&Meta, std::move(made)).first->second;
}

const platform::TClass& TQtClass::BasicActionClass() {
  static const platform::TClass Class("TBasicAction", &Of(QObject::staticMetaObject), "Qt");
  return Class;
}

}  // namespace platform::qt
