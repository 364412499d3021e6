#include "platform/qt/QtComponent.h"

#include <QComboBox>
#include <QListWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QWidget>
#include <unordered_map>
#include <unordered_set>

#include "platform/NoDestructor.h"
#include "platform/qt/QtClass.h"
#include "platform/qt/QtLists.h"
#include "platform/qt/QtText.h"

namespace platform::qt {

namespace {

// Which adapter stands for which object (the newest when several do).
std::unordered_map<const QObject*, TQtComponent*>& Adapters() {
  static platform::TNoDestructor<std::unordered_map<const QObject*, TQtComponent*>> adapters;
  return *adapters;
}

std::string NameOf(const QObject* Object) {
  return ToUtf8(Object->objectName());
}

// Qt names its own helper objects "qt_..."; they are not the form's.
bool IsInternal(const std::string& Name) {
  return Name.rfind("qt_", 0) == 0;
}

bool IsDescendant(const QObject* Object, const QObject* Ancestor) {
  for (const QObject* o = Object->parent(); o != nullptr; o = o->parent()) {
    if (o == Ancestor) return true;
  }
  return false;
}

}  // namespace

// ---- TQtComponent

TQtComponent::TQtComponent(platform::TComponent* Owner, QObject* Object)
    : platform::TComponent(Owner), FObject(Object), FClass(&TQtClass::Of(*Object->metaObject())) {
  platform::TComponent::SetName(NameOf(Object));
  Adapters()[Object] = this;
}

TQtComponent::~TQtComponent() {
  auto& adapters = Adapters();
  for (auto it = adapters.begin(); it != adapters.end(); ++it) {
    if (it->second == this) {
      adapters.erase(it);
      break;
    }
  }
}

const platform::TClass& TQtComponent::ClassType() const {
  return *FClass;
}

std::string TQtComponent::ClassName() const {
  return FClass->ClassName();
}

void TQtComponent::SetName(const std::string& NewName) {
  platform::TComponent::SetName(NewName);
  if (QObject* object = Object()) {
    object->setObjectName(FromUtf8(NewName));
  }
}

void TQtComponent::FollowObjectName() {
  QObject* object = Object();
  if (object == nullptr) return;
  const std::string name = NameOf(object);
  try {
    platform::TComponent::SetName(IsInternal(name) ? std::string() : name);
  } catch (const platform::EComponentError&) {
    // Invalid or taken: nameless until the object has a usable name again.
    platform::TComponent::SetName(std::string());
  }
}

platform::TStrings* TQtComponent::Items() {
  if (FItems == nullptr &&
      (qobject_cast<QComboBox*>(Object()) != nullptr || qobject_cast<QListWidget*>(Object()))) {
    FItems = std::make_unique<TQtItemStrings>(Object());
  }
  return FItems.get();
}

platform::TCollection* TQtComponent::Columns() {
  if (FColumns == nullptr &&
      (qobject_cast<QTableWidget*>(Object()) != nullptr || qobject_cast<QTreeWidget*>(Object()))) {
    FColumns = std::make_unique<TQtColumns>(Object());
  }
  if (FColumns != nullptr) static_cast<TQtColumns&>(*FColumns).Synchronize();
  return FColumns.get();
}

TQtComponent* TQtComponent::AdapterOf(const QObject* Object) {
  if (Object == nullptr) return nullptr;
  auto& adapters = Adapters();
  auto found = adapters.find(Object);
  return found == adapters.end() ? nullptr : found->second;
}

// ---- TQtForm

TQtForm::TQtForm(QWidget* Form) : TQtComponent(nullptr, Form) {
  Synchronize();
}

TQtForm::~TQtForm() = default;

int TQtForm::ComponentCount() const {
  // Counting is where walks over the form start; the live tree may have
  // changed since the last one.
  if (!FSynchronizing) const_cast<TQtForm*>(this)->Synchronize();
  return platform::TComponent::ComponentCount();
}

void TQtForm::Synchronize() {
  if (FSynchronizing) return;
  FSynchronizing = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FSynchronizing};
  QObject* form = Object();
  std::unordered_set<const QObject*> adapted;
  for (int i = platform::TComponent::ComponentCount() - 1; i >= 0; --i) {
    auto* adapter = dynamic_cast<TQtComponent*>(platform::TComponent::Components(i));
    if (adapter == nullptr) continue;  // a platform component of the form's own
    QObject* object = adapter->Object();
    if (form != nullptr && object != nullptr && IsDescendant(object, form)) {
      adapter->FollowObjectName();
      adapted.insert(object);
    } else {
      delete adapter;  // leaves this form's list
    }
  }
  if (form == nullptr) return;
  for (QObject* object : form->findChildren<QObject*>()) {
    if (adapted.count(object) != 0) continue;
    const std::string name = NameOf(object);
    if (name.empty() || IsInternal(name) || FindComponent(name) != nullptr) continue;
    try {
      new TQtComponent(this, object);  // owned by this form
    } catch (const platform::EComponentError&) {
      // Not a valid component name: the object stays without adapter.
    }
  }
}

}  // namespace platform::qt
