// Owner, name and free-notification rules of components.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classes/component.h"

namespace kgui {
namespace {

// Records what it is told and when it dies.
class Probe : public TComponent {
public:
  Probe(TComponent* owner, std::vector<std::string>* log, std::string id)
      : TComponent(owner), log_(log), id_(std::move(id)) {
    setName(id_);
  }
  ~Probe() override { log_->push_back("destroy " + id_); }

protected:
  void notification(TComponent* c, Operation op) override {
    // Only the TComponent part of c may be alive here, so it is named by its Name.
    log_->push_back(id_ + (op == Operation::Insert ? " insert " : " remove ") + c->name());
  }

private:
  std::vector<std::string>* log_;
  std::string id_;
};

TEST(TComponent, NamesAreUniquePerOwnerWithoutCase) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->setName("Button1");
  EXPECT_THROW(b->setName("BUTTON1"), EComponentError);
  try {
    b->setName("button1");
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named button1 already exists");
  }
  b->setName("Button2");
  a->setName("");  // empty names never clash
  b->setName("");
  EXPECT_EQ(owner.findComponent("BUTTON2"), nullptr);
  a->setName("Button1");
  EXPECT_EQ(owner.findComponent("button1"), a);
  // The same name under another owner is fine.
  TComponent other(nullptr);
  TComponent c(&other);
  c.setName("Button1");
}

TEST(TComponent, FindComponentFollowsRenamesRemovalsAndMoves) {
  TComponent first(nullptr), second(nullptr);
  auto* a = new TComponent(&first);
  a->setName("Edit1");
  a->setName("EDIT1");  // a new case of its own name
  EXPECT_EQ(first.findComponent("edit1"), a);
  a->setName("Edit2");
  EXPECT_EQ(first.findComponent("Edit1"), nullptr);
  EXPECT_EQ(first.findComponent("eDiT2"), a);
  auto* b = new TComponent(&first);
  b->setName("Edit1");  // the old name is free again
  EXPECT_EQ(first.findComponent("EDIT1"), b);
  delete b;
  EXPECT_EQ(first.findComponent("Edit1"), nullptr);
  // A component moves only to an owner where its name is free, and leaves its old name free.
  auto* c = new TComponent(&second);
  c->setName("edit2");
  EXPECT_THROW(second.insertComponent(a), EComponentError);
  EXPECT_EQ(a->owner(), &first);
  EXPECT_EQ(first.findComponent("Edit2"), a);
  c->setName("Other");
  second.insertComponent(a);
  EXPECT_EQ(a->owner(), &second);
  EXPECT_EQ(first.findComponent("Edit2"), nullptr);
  EXPECT_EQ(first.componentCount(), 0);
  EXPECT_EQ(second.findComponent("EDIT2"), a);
  EXPECT_EQ(second.findComponent("other"), c);
}

TEST(TComponent, InvalidNamesAreRefused) {
  TComponent c(nullptr);
  for (const char* bad : {"1abc", "a b", "a-b", "ä"}) {
    try {
      c.setName(bad);
      ADD_FAILURE() << bad;
    } catch (const EComponentError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + bad + "' is not a valid component name");
    }
  }
  c.setName("_ok9");
  EXPECT_EQ(c.name(), "_ok9");
}

TEST(TComponent, OwnerListsAndDestroysItsComponentsLastFirst) {
  std::vector<std::string> log;
  {
    Probe owner(nullptr, &log, "owner");
    auto* a = new Probe(&owner, &log, "a");
    new Probe(&owner, &log, "b");
    ASSERT_EQ(owner.componentCount(), 2);
    EXPECT_EQ(owner.components(0), a);
    EXPECT_EQ(a->componentIndex(), 0);
    a->setComponentIndex(1);
    EXPECT_EQ(owner.components(1), a);
    EXPECT_THROW(owner.components(2), EComponentError);
    log.clear();
  }
  // a was moved last, so it goes first; the owner's own destructor body runs before.
  EXPECT_EQ(log, (std::vector<std::string>{"destroy owner", "destroy a", "destroy b"}));
}

TEST(TComponent, DeletingAnOwnedComponentRemovesItFromItsOwner) {
  std::vector<std::string> log;
  Probe owner(nullptr, &log, "owner");
  auto* a = new Probe(&owner, &log, "a");
  log.clear();
  delete a;
  EXPECT_EQ(owner.componentCount(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"destroy a", "owner remove a"}));
}

TEST(TComponent, FreeNotificationTellsTheOtherSideOnce) {
  std::vector<std::string> log;
  Probe keeper(nullptr, &log, "keeper");
  auto* target = new Probe(nullptr, &log, "target");
  auto* unlinked = new Probe(nullptr, &log, "unlinked");
  target->freeNotification(&keeper);
  target->freeNotification(&keeper);  // a second link is not a second notice
  unlinked->freeNotification(&keeper);
  unlinked->removeFreeNotification(&keeper);
  delete target;
  delete unlinked;
  // The probe's own destructor body runs before the component part tells the keeper.
  EXPECT_EQ(log, (std::vector<std::string>{"destroy target", "keeper remove target",
                                           "destroy unlinked"}));
}

TEST(TComponent, WrapperLinkIsIndependentOfTag) {
  TComponent c(nullptr);
  int wrapper = 0;
  c.setTag(42);
  c.setWrapperLink(&wrapper);
  EXPECT_EQ(c.tag(), 42);
  c.setTag(7);
  EXPECT_EQ(c.wrapperLink(), &wrapper);
  EXPECT_EQ(c.className(), "TComponent");
  EXPECT_TRUE(c.inheritsFrom("tpersistent"));
}

}  // namespace
}  // namespace kgui
