// Component ownership, names, owned-component lookup, design position and
// the component's own published properties.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Component.h"
#include "platform/Errors.h"
#include "platform/PropInfo.h"

namespace platform {
namespace {

// Records its destruction and the notifications it receives.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* AOwner, std::string Label, std::vector<std::string>* Log)
      : TComponent(AOwner), FLabel(std::move(Label)), FLog(Log) {}
  ~TProbe() override {
    if (FLog != nullptr) FLog->push_back("free " + FLabel);
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (FLog != nullptr) {
      FLog->push_back(FLabel + (Operation == opInsert ? " +" : " -") + AComponent->Name());
    }
  }

 private:
  std::string FLabel;
  std::vector<std::string>* FLog;
};

TEST(ComponentOwnershipTest, OwnerFreesOwnedComponentsLastInsertedFirst) {
  std::vector<std::string> log;
  {
    TProbe owner(nullptr, "owner", &log);
    auto* a = new TProbe(&owner, "a", &log);
    auto* b = new TProbe(&owner, "b", &log);
    new TProbe(b, "b1", &log);  // freed by b, while b is freed by owner
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(0), a);
    EXPECT_EQ(owner.Components(1), b);
    EXPECT_EQ(a->Owner(), &owner);
    EXPECT_EQ(b->ComponentIndex(), 1);
    log.clear();
  }
  // Each leaves its owner's list before it goes; no notifications since the
  // owner's own override is gone by then.
  EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free b", "free b1", "free a"}));
}

TEST(ComponentOwnershipTest, ComponentFreedFirstLeavesItsOwner) {
  TComponent owner(nullptr);
  auto early = std::make_unique<TComponent>(&owner);
  auto* stays = new TComponent(&owner);
  early.reset();
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), stays);
  EXPECT_EQ(stays->ComponentIndex(), 0);
}

TEST(ComponentOwnershipTest, InsertMovesAndRemoveReleasesWithNotifications) {
  std::vector<std::string> log;
  TProbe first(nullptr, "first", &log);
  TProbe second(nullptr, "second", &log);
  auto* moved = new TComponent(&first);
  moved->SetName("Moved");
  second.InsertComponent(moved);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(second.FindComponent("moved"), moved);
  EXPECT_EQ(moved->Owner(), &second);

  second.RemoveComponent(moved);
  std::unique_ptr<TComponent> released(moved);  // the caller owns it now
  EXPECT_EQ(moved->Owner(), nullptr);
  EXPECT_EQ(moved->ComponentIndex(), -1);
  EXPECT_EQ(second.ComponentCount(), 0);
  second.RemoveComponent(moved);  // not owned: nothing
  EXPECT_EQ(
      log, (std::vector<std::string>{"first +", "first -Moved", "second +Moved", "second -Moved"}));
}

TEST(ComponentOwnershipTest, OwningItselfOrItsOwnerIsRefused) {
  TComponent root(nullptr);
  auto* child = new TComponent(&root);
  auto* grandChild = new TComponent(child);
  EXPECT_THROW(root.InsertComponent(&root), EComponentError);
  EXPECT_THROW(grandChild->InsertComponent(&root), EComponentError);
  EXPECT_EQ(root.Owner(), nullptr);
  EXPECT_EQ(grandChild->Owner(), child);
  EXPECT_THROW(root.Components(1), EListError);
  EXPECT_THROW(root.Components(-1), EListError);
}

TEST(ComponentNameTest, ValidAndInvalidNames) {
  struct Case {
    const char* Name;
    bool Valid;
  };
  const Case cases[] = {{"", true},      {"Button1", true}, {"_x", true},   {"a_b_9", true},
                        {"1abc", false}, {"a b", false},    {"a-b", false}, {"ä", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TComponent component(nullptr);
    component.SetName("Before");
    if (c.Valid) {
      component.SetName(c.Name);
      EXPECT_EQ(component.Name(), c.Name);
    } else {
      try {
        component.SetName(c.Name);
        FAIL() << "accepted";
      } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), std::string("Component name \"") + c.Name + "\" is not valid");
      }
      EXPECT_EQ(component.Name(), "Before");
    }
  }
}

TEST(ComponentNameTest, NamesAreUniqueAmongTheOwnersComponents) {
  TComponent owner(nullptr);
  auto* edit = new TComponent(&owner);
  edit->SetName("Edit1");
  auto* other = new TComponent(&owner);
  try {
    other->SetName("EDIT1");
    FAIL() << "duplicate accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named EDIT1 already exists");
  }
  EXPECT_EQ(other->Name(), "");
  edit->SetName("edit1");  // its own name in another case is fine
  EXPECT_EQ(owner.FindComponent("EDIT1"), edit);
  EXPECT_EQ(owner.FindComponent(""), nullptr);  // unnamed components are not found

  // Inserting a component whose name is taken is refused and moves nothing.
  TComponent elsewhere(nullptr);
  auto* clash = new TComponent(&elsewhere);
  clash->SetName("Edit1");
  EXPECT_THROW(owner.InsertComponent(clash), EComponentError);
  EXPECT_EQ(clash->Owner(), &elsewhere);
  EXPECT_EQ(owner.ComponentCount(), 2);
}

TEST(ComponentDesignTest, DesignInfoHalves) {
  struct Case {
    int Left, Top;
    std::int32_t Info;
  };
  const Case cases[] = {{0, 0, 0},
                        {10, 20, (20 << 16) | 10},
                        {32767, 32767, 0x7FFF7FFF},
                        {0xFFFF, 0x8000, static_cast<std::int32_t>(0x8000FFFFu)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Info);
    TComponent component(nullptr);
    component.SetDesignPosition(c.Left, c.Top);
    EXPECT_EQ(component.DesignInfo(), c.Info);
    component.SetDesignInfo(0);
    component.SetDesignInfo(c.Info);
    EXPECT_EQ(component.DesignLeft(), c.Left);
    EXPECT_EQ(component.DesignTop(), c.Top);
  }
}

TEST(ComponentDesignTest, DesigningReachesOwnedAndLaterInsertedComponents) {
  TComponent form(nullptr);
  auto* before = new TComponent(&form);
  form.SetDesigning(true);
  auto* after = new TComponent(&form);
  EXPECT_TRUE(before->IsDesigning());
  EXPECT_TRUE(after->IsDesigning());
  form.SetDesigning(false);
  EXPECT_FALSE(after->IsDesigning());
  EXPECT_FALSE(form.HasParent());
  form.SetParentComponent(before);
  EXPECT_EQ(form.GetParentComponent(), nullptr);
}

TEST(ComponentPropertiesTest, NameAndTagArePublished) {
  TComponent owner(nullptr);
  auto* component = new TComponent(&owner);
  new TComponent(&owner);
  owner.Components(1)->SetName("Taken");
  SetStrProp(*component, "name", "Label1");
  SetOrdProp(*component, "Tag", -7);
  EXPECT_EQ(component->Name(), "Label1");
  EXPECT_EQ(GetOrdProp(*component, "TAG"), -7);
  // Writing through the property checks the name like SetName.
  EXPECT_THROW(SetStrProp(*component, "Name", "Taken"), EComponentError);
  EXPECT_EQ(GetStrProp(*component, "Name"), "Label1");
  EXPECT_EQ(component->UnitName(), "Component");
  EXPECT_EQ(component->ClassType().ClassName(), "TComponent");
  EXPECT_TRUE(component->ClassType().InheritsFrom(&TPersistent::StaticClass()));
}

}  // namespace
}  // namespace platform
