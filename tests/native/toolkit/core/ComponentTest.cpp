// The owner tree, names, state and free notification.
#include "TestClasses.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Tracked : TComponent {
    TW_DECLARE_CLASS(Tracked, TComponent)
    Tracked(TComponent* owner, std::vector<std::string>* log, std::string id)
        : TComponent(owner), FLog(log), FId(std::move(id)) {}
    ~Tracked() override { FLog->push_back(FId + (ComponentState().Contains(csDestroying) ? "+" : "-")); }
    std::vector<std::string>* FLog;
    std::string FId;
};

TClass Tracked::StaticClass() {
    static const TClassInfo info = TClassBuilder<Tracked>("Tracked").Build();
    return &info;
}

TEST(Components, AnOwnerFreesWhatItOwnsNewestFirst) {
    std::vector<std::string> log;
    {
        std::unique_ptr<Tracked, TObjectDeleter> root(new Tracked(nullptr, &log, "root"));
        auto* a = new Tracked(root.get(), &log, "a");
        new Tracked(a, &log, "a1");
        new Tracked(root.get(), &log, "b");
        EXPECT_EQ(root->ComponentCount(), 2);
        EXPECT_EQ(a->ComponentCount(), 1);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"b+", "a1+", "a+", "root+"}));
    // A plain delete still frees everything, only the root's own destructor runs first.
    log.clear();
    auto* root = new Tracked(nullptr, &log, "root");
    new Tracked(root, &log, "a");
    delete root;
    EXPECT_EQ(log, (std::vector<std::string>{"root-", "a+"}));
}

TEST(Components, AFreedComponentLeavesItsOwnersList) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("A");
    b->SetName("B");
    delete a;
    ASSERT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(b->ComponentIndex(), 0);
    EXPECT_EQ(owner.FindComponent("A"), nullptr);
    EXPECT_THROW(owner.Components(1), EListError);
}

TEST(Components, NamesAreIdentifiersUniqueAmongTheOwnersComponents) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Button1");
    EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
    try {
        b->SetName("button1");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named button1 already exists");
    }
    EXPECT_THROW(b->SetName("1st"), EComponentError);
    EXPECT_THROW(b->SetName("with space"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    a->SetName("BUTTON1"); // a component may change the case of its own name
    EXPECT_EQ(a->Name(), "BUTTON1");
    b->SetName("");
    b->SetTag(99);
    EXPECT_EQ(GetOrdProp(*b, "Tag"), 99);
}

TEST(Components, InsertingANamedComponentUnderAnotherOwnerChecksTheName) {
    TComponent first(nullptr), second(nullptr);
    auto* a = new TComponent(&first);
    a->SetName("Same");
    auto* b = new TComponent(&second);
    b->SetName("Same");
    EXPECT_THROW(first.InsertComponent(b), EComponentError);
    EXPECT_EQ(b->Owner(), &second);
    second.RemoveComponent(b);
    b->SetName("Other");
    first.InsertComponent(b);
    EXPECT_EQ(b->Owner(), &first);
    EXPECT_EQ(second.ComponentCount(), 0);
}

TEST(Components, FreeNotificationClearsReferencesBothWays) {
    auto holder = std::make_unique<TTestWidget>(nullptr);
    auto* buddy = new TTestWidget(nullptr);
    holder->Buddy = buddy;
    buddy->FreeNotification(holder.get());
    delete buddy;
    EXPECT_EQ(holder->Buddy, nullptr);

    // The holder going first must not leave the other side with a dangling entry.
    auto other = std::make_unique<TTestWidget>(nullptr);
    auto* shortLived = new TTestWidget(nullptr);
    shortLived->Buddy = other.get();
    other->FreeNotification(shortLived);
    delete shortLived;
    other.reset(); // would touch freed memory if the entry were still there (ASan build)
}

TEST(Components, StateFlagsAndLoaded) {
    TComponent root(nullptr);
    auto* child = new TComponent(&root);
    root.SetDesigning(true);
    EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
    root.SetDesigning(false);
    EXPECT_FALSE(child->ComponentState().Contains(csDesigning));
    child->SetLoadingState(true);
    EXPECT_TRUE(child->ComponentState().Contains(csLoading));
    EXPECT_TRUE(child->ComponentState().Contains(csReading));
    child->SetLoadingState(false);
    EXPECT_FALSE(child->ComponentState().Contains(csReading));
    child->Loaded();
    EXPECT_FALSE(child->ComponentState().Contains(csLoading));
    root.Destroying();
    EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
}

TEST(Components, AssignBetweenUnrelatedClassesNamesBoth) {
    TStringList list;
    TComponent c(nullptr);
    try {
        list.Assign(&c);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TStringList");
    }
}

} // namespace
