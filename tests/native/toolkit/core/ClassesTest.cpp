// Class names, class chains, class tests and the registry.
#include "TestClasses.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Classes, ClassNameAndChainFollowTheDeclarations) {
    TTestButton button(nullptr);
    EXPECT_EQ(button.ClassName(), "TTestButton");
    EXPECT_EQ(button.ClassType(), TTestButton::StaticClass());
    EXPECT_EQ(button.ClassType()->Parent, TTestWidget::StaticClass());
    std::vector<std::string> chain;
    for (TClass c = button.ClassType(); c; c = c->Parent)
        chain.push_back(c->Name);
    EXPECT_EQ(chain, (std::vector<std::string>{"TTestButton", "TTestWidget", "TComponent", "TPersistent",
                                               "TObject"}));
}

TEST(Classes, ClassTestsByTypeAndByNameWalkTheChain) {
    TTestButton button(nullptr);
    TObject& obj = button;
    EXPECT_TRUE(obj.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(obj.InheritsFrom(TTestWidget::StaticClass()));
    EXPECT_FALSE(obj.InheritsFrom(TTestForm::StaticClass()));
    EXPECT_TRUE(obj.InheritsFrom(std::string_view("ttestwidget")));
    EXPECT_TRUE(obj.InheritsFrom(std::string_view("TPERSISTENT")));
    EXPECT_FALSE(obj.InheritsFrom(std::string_view("TTestForm")));
    EXPECT_TRUE(obj.ClassNameIs("ttestbutton"));
    EXPECT_FALSE(obj.ClassNameIs("TTestWidget"));
}

TEST(Classes, RegistryFindsClassesByNameInAnyCaseAndCreatesThem) {
    EXPECT_EQ(GetClass("ttestbutton"), TTestButton::StaticClass());
    EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
    try {
        FindClass("TNoSuchClass");
        FAIL() << "no exception";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TNoSuchClass not found");
    }
    TComponent owner(nullptr);
    TComponent* made = FindClass("TTestButton")->CreateComponent(&owner);
    EXPECT_EQ(made->ClassName(), "TTestButton");
    EXPECT_EQ(made->Owner(), &owner);
    EXPECT_EQ(TTestItem::StaticClass()->CreateComponent, nullptr);
    EXPECT_NE(TTestItem::StaticClass()->CreateItem, nullptr);
}

TEST(Classes, RegisteringAnotherClassUnderATakenNameFails) {
    static const TClassInfo impostor = [] {
        TClassInfo info;
        info.Name = "TTestWidget";
        return info;
    }();
    EXPECT_THROW(RegisterClasses({&impostor}), EComponentError);
    EXPECT_EQ(GetClass("TTestWidget"), TTestWidget::StaticClass());
    EXPECT_NO_THROW(RegisterClasses({TTestWidget::StaticClass()})); // the same class again is fine
}

TEST(Classes, FreeRunsBeforeDestructionAndAcceptsNull) {
    struct Probe : TObject {
        bool* before;
        explicit Probe(bool* b) : before(b) {}
        void BeforeDestruction() override { *before = true; }
    };
    bool before = false;
    TObject::Free(new Probe(&before));
    EXPECT_TRUE(before);
    EXPECT_NO_THROW(TObject::Free(nullptr));
}

} // namespace
