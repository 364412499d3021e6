// Metaclasses, ancestry, the class registry and published properties read
// and written by name.
#include <gtest/gtest.h>

#include <any>
#include <functional>
#include <memory>
#include <string>

#include "platform/ClassRegistry.h"
#include "platform/Component.h"
#include "platform/PropInfo.h"
#include "platform/StringList.h"

namespace platform {
namespace {

enum TAlign { alNone, alTop, alBottom };

class TWidget;
using TNotifyEvent = std::function<void(TWidget* Sender)>;

// A metaclass with a class-level operation, as subsystems derive them.
class TWidgetClass : public TClass {
 public:
  using TClass::TClass;
  virtual std::unique_ptr<TComponent> Make(TComponent* Owner) const = 0;
};

class TWidget : public TComponent {
  CLAVIRA_DECLARE_CLASS()

 public:
  explicit TWidget(TComponent* AOwner) : TComponent(AOwner) {}

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value) { FAlign = Value; }
  TStringList* Items() const { return FItems.get(); }
  void SetItems(TStringList* Value) { FItems->Assign(Value); }
  int Version() const { return 3; }
  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent Value) { FOnClick = std::move(Value); }

 private:
  TNotifyEvent FOnClick;
  std::string FCaption;
  int FWidth = 0;
  bool FVisible = true;
  TAlign FAlign = alNone;
  std::unique_ptr<TStringList> FItems = std::make_unique<TStringList>();
};

class TWidgetMeta : public TWidgetClass {
 public:
  using TWidgetClass::TWidgetClass;
  std::unique_ptr<TComponent> Make(TComponent* Owner) const override {
    return std::make_unique<TWidget>(Owner);
  }
};

const TClass& TWidget::StaticClass() {
  static const TWidgetMeta Class(
      "TWidget", &TComponent::StaticClass(), "Widgets",
      {StrProp<TWidget>("Caption", &TWidget::Caption, &TWidget::SetCaption),
       IntProp<TWidget>("Width", &TWidget::Width, &TWidget::SetWidth),
       BoolProp<TWidget>("Visible", &TWidget::Visible, &TWidget::SetVisible),
       EnumProp<TWidget, TAlign>("Align", {"alNone", "alTop", "alBottom"}, &TWidget::Align,
                                 &TWidget::SetAlign),
       ClassProp<TWidget, TStringList>("Items", &TWidget::Items, &TWidget::SetItems),
       IntProp<TWidget>("Version", &TWidget::Version),
       MethodProp<TWidget, TNotifyEvent>("OnClick", "TNotifyEvent", &TWidget::OnClick,
                                         &TWidget::SetOnClick)});
  return Class;
}

// Redeclares Caption (read-only here) and adds one property.
class TLabelWidget : public TWidget {
  CLAVIRA_DECLARE_CLASS()

 public:
  using TWidget::TWidget;
  std::string Shown() const { return "[" + Caption() + "]"; }
};

const TClass& TLabelWidget::StaticClass() {
  static const TWidgetMeta Class(
      "TLabelWidget", &TWidget::StaticClass(), "Widgets",
      {StrProp<TLabelWidget>("Caption", &TLabelWidget::Shown),
       StrProp<TLabelWidget>("FocusControl", [](const TLabelWidget&) { return "none"; })});
  return Class;
}

class ClassRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses({&TWidget::StaticClass(), &TLabelWidget::StaticClass()});
  }
  void TearDown() override {
    UnRegisterClass(TWidget::StaticClass());
    UnRegisterClass(TLabelWidget::StaticClass());
  }
};

TEST_F(ClassRegistryTest, FindAndGetByNameHandBackTheDerivedMetaclass) {
  const TClass* found = FindClass("tlabelwidget");
  ASSERT_EQ(found, &TLabelWidget::StaticClass());
  const auto* maker = dynamic_cast<const TWidgetClass*>(&GetClass("TWidget"));
  ASSERT_NE(maker, nullptr);
  std::unique_ptr<TComponent> made = maker->Make(nullptr);
  EXPECT_EQ(made->ClassName(), "TWidget");

  EXPECT_EQ(FindClass("TNothing"), nullptr);
  try {
    GetClass("TNothing");
    FAIL() << "no error";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNothing not found");
  }
  UnRegisterClass(TWidget::StaticClass());
  EXPECT_EQ(FindClass("TWidget"), nullptr);
}

TEST_F(ClassRegistryTest, RegisteringAgainIsHarmlessButANameClashIsRefused) {
  RegisterClass(TWidget::StaticClass());
  const TClass impostor("TWidget", &TObject::StaticClass(), "Elsewhere");
  try {
    RegisterClass(impostor);
    FAIL() << "clash accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "A class named TWidget already exists");
  }
  EXPECT_EQ(FindClass("TWidget"), &TWidget::StaticClass());
  UnRegisterClass(impostor);  // not the registered one: nothing
  EXPECT_EQ(FindClass("TWidget"), &TWidget::StaticClass());
}

TEST(ClassTest, AncestryAndInheritance) {
  const TClass& label = TLabelWidget::StaticClass();
  std::vector<std::string> names;
  for (const TClass* c : label.Ancestry()) names.push_back(c->ClassName());
  EXPECT_EQ(names, (std::vector<std::string>{"TLabelWidget", "TWidget", "TComponent", "TPersistent",
                                             "TObject"}));
  EXPECT_TRUE(label.InheritsFrom(&TComponent::StaticClass()));
  EXPECT_TRUE(label.InheritsFrom(&label));
  EXPECT_FALSE(TWidget::StaticClass().InheritsFrom(&label));
  EXPECT_FALSE(label.InheritsFrom(nullptr));
  EXPECT_TRUE(label.InheritsFrom("tpersistent"));
  EXPECT_FALSE(label.InheritsFrom("TStrings"));
  EXPECT_EQ(label.UnitName(), "Widgets");
  EXPECT_TRUE(TStringList::StaticClass().InheritsFrom(&TStrings::StaticClass()));
  TStringList list;
  const TObject& asObject = list;
  EXPECT_EQ(&asObject.ClassType(), &TStringList::StaticClass());
}

TEST(ClassTest, PropertyListWalksTheAncestryAndRedeclarationsReplace) {
  TLabelWidget label(nullptr);
  std::vector<std::string> names;
  for (const TPropInfo* p : GetPropList(label)) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "Caption", "Width", "Visible", "Align",
                                             "Items", "Version", "OnClick", "FocusControl"}));
  label.SetCaption("Hi");
  EXPECT_EQ(GetStrProp(label, "caption"), "[Hi]");
  EXPECT_TRUE(GetPropInfo(label, "Caption")->IsReadOnly());
  EXPECT_FALSE(IsPublishedProp(TWidget(nullptr), "FocusControl"));
  const TPropInfo* items = GetPropInfo(label, "Items");
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(&items->PropertyClass(), &TStringList::StaticClass());
  EXPECT_EQ(&GetPropInfo(label, "Width")->PropertyClass(), &TObject::StaticClass());
}

TEST(PropertyAccessTest, ReadAndWriteEachKind) {
  TWidget widget(nullptr);
  SetStrProp(widget, "Caption", "OK");
  SetOrdProp(widget, "Width", 120);
  SetOrdProp(widget, "Visible", 0);
  SetEnumProp(widget, "Align", "ALBOTTOM");
  TStringList lines;
  lines.Add("one");
  SetObjectProp(widget, "Items", &lines);

  EXPECT_EQ(widget.Caption(), "OK");
  EXPECT_EQ(GetOrdProp(widget, "width"), 120);
  EXPECT_FALSE(widget.Visible());
  EXPECT_EQ(GetEnumProp(widget, "Visible"), "False");
  SetEnumProp(widget, "Visible", "true");
  EXPECT_TRUE(widget.Visible());
  EXPECT_EQ(widget.Align(), alBottom);
  EXPECT_EQ(GetOrdProp(widget, "Align"), 2);
  EXPECT_EQ(GetEnumProp(widget, "Align"), "alBottom");
  EXPECT_EQ(GetObjectProp(widget, "Items"), widget.Items());
  EXPECT_EQ(widget.Items()->Get(0), "one");
  EXPECT_EQ(PropType(widget, "Items"), tkClass);
  EXPECT_EQ(PropType(widget, "Visible"), tkBoolean);
}

TEST(PropertyAccessTest, EventsAreListedAssignedCalledAndCleared) {
  TWidget widget(nullptr);
  ASSERT_TRUE(IsPublishedProp(widget, "OnClick"));
  const TPropInfo* info = GetPropInfo(widget, "onclick");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Kind, tkMethod);
  EXPECT_EQ(info->TypeName, "TNotifyEvent");
  EXPECT_FALSE(info->IsReadOnly());
  EXPECT_FALSE(IsAssignedMethodProp(widget, "OnClick"));
  EXPECT_FALSE(GetMethodProp(widget, "OnClick").has_value());

  int clicks = 0;
  TWidget* sender = nullptr;
  SetMethodProp(widget, "OnClick", TNotifyEvent([&](TWidget* Sender) {
                  ++clicks;
                  sender = Sender;
                }));
  ASSERT_TRUE(widget.OnClick());
  widget.OnClick()(&widget);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, &widget);

  // The handler read by name is the one assigned: calling it counts too.
  std::any read = GetMethodProp(widget, "OnClick");
  const TNotifyEvent* handler = std::any_cast<TNotifyEvent>(&read);
  ASSERT_NE(handler, nullptr);
  (*handler)(nullptr);
  EXPECT_EQ(clicks, 2);

  // Copied from one instance to another by name, as streaming and Assign do.
  TWidget other(nullptr);
  SetMethodProp(other, "OnClick", GetMethodProp(widget, "OnClick"));
  other.OnClick()(&other);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(sender, &other);

  ClearMethodProp(widget, "OnClick");
  EXPECT_FALSE(widget.OnClick());
  EXPECT_FALSE(IsAssignedMethodProp(widget, "OnClick"));
  EXPECT_TRUE(IsAssignedMethodProp(other, "OnClick"));
}

TEST(PropertyAccessTest, WrongUseIsRefusedAndChangesNothing) {
  struct Case {
    const char* What;
    void (*Act)(TWidget&);
    const char* Message;
  };
  TComponent notAList(nullptr);
  static TComponent* stranger = nullptr;
  stranger = &notAList;
  const Case cases[] = {
      {"missing", [](TWidget& w) { GetStrProp(w, "Colour"); }, "Property Colour does not exist"},
      {"missing write", [](TWidget& w) { SetOrdProp(w, "Colour", 1); },
       "Property Colour does not exist"},
      {"string as ordinal", [](TWidget& w) { GetOrdProp(w, "Caption"); },
       "Invalid property type: Caption"},
      {"ordinal as string", [](TWidget& w) { SetStrProp(w, "Width", "3"); },
       "Invalid property type: Width"},
      {"integer as enumeration", [](TWidget& w) { GetEnumProp(w, "Width"); },
       "Invalid property type: Width"},
      {"object as string", [](TWidget& w) { GetStrProp(w, "Items"); },
       "Invalid property type: Items"},
      {"read-only", [](TWidget& w) { SetOrdProp(w, "Version", 4); },
       "Property Version is read-only"},
      {"enumeration out of range", [](TWidget& w) { SetOrdProp(w, "Align", 3); },
       "Invalid property value"},
      {"negative enumeration", [](TWidget& w) { SetOrdProp(w, "Align", -1); },
       "Invalid property value"},
      {"unknown enumeration name", [](TWidget& w) { SetEnumProp(w, "Align", "alLeft"); },
       "Invalid property value"},
      {"Boolean out of range", [](TWidget& w) { SetOrdProp(w, "Visible", 2); },
       "Invalid property value"},
      {"object of another class", [](TWidget& w) { SetObjectProp(w, "Items", stranger); },
       "Invalid property value"},
      {"event as string", [](TWidget& w) { GetStrProp(w, "OnClick"); },
       "Invalid property type: OnClick"},
      {"string as event", [](TWidget& w) { SetMethodProp(w, "Caption", std::any()); },
       "Invalid property type: Caption"},
      {"handler of another type",
       [](TWidget& w) { SetMethodProp(w, "OnClick", std::function<void()>([] {})); },
       "Invalid property value"},
      {"not a handler", [](TWidget& w) { SetMethodProp(w, "OnClick", std::any(7)); },
       "Invalid property value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TWidget widget(nullptr);
    widget.SetCaption("keep");
    widget.SetAlign(alTop);
    widget.Items()->Add("kept");
    bool clicked = false;
    widget.SetOnClick([&clicked](TWidget*) { clicked = true; });
    try {
      c.Act(widget);
      FAIL() << "accepted";
    } catch (const EPropertyError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_EQ(widget.Caption(), "keep");
    EXPECT_EQ(widget.Align(), alTop);
    EXPECT_TRUE(widget.Visible());
    EXPECT_EQ(widget.Items()->GetCount(), 1);
    ASSERT_TRUE(widget.OnClick());
    widget.OnClick()(&widget);
    EXPECT_TRUE(clicked);
  }
}

TEST(PropertyAccessTest, ADescriptorUsedOnAnotherClassIsRefused) {
  const TPropInfo* caption = TWidget::StaticClass().FindProperty("Caption");
  ASSERT_NE(caption, nullptr);
  TComponent other(nullptr);
  EXPECT_THROW(caption->GetStr(other), EPropertyError);
}

}  // namespace
}  // namespace platform
