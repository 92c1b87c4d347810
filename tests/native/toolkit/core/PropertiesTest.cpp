// Published properties by name, and events as closures.
#include "TestClasses.h"

#include <gtest/gtest.h>

namespace {

class Properties : public ::testing::Test {
protected:
    TTestButton w{nullptr};
};

TEST_F(Properties, LookupIgnoresCaseAndWalksTheChain) {
    EXPECT_EQ(GetPropInfo(&w, "size")->Name, "Size");
    EXPECT_EQ(GetPropInfo(&w, "TAG")->Name, "Tag");         // from TComponent
    EXPECT_EQ(GetPropInfo(&w, "default")->Name, "Default"); // the class's own
    EXPECT_EQ(PropType(&w, "Caption"), tkLString);
    EXPECT_EQ(PropType(&w, "Hint"), tkWString);
    EXPECT_EQ(PropType(&w, "Visible"), tkEnumeration);
    EXPECT_EQ(PropType(&w, "Options"), tkSet);
    EXPECT_EQ(PropType(&w, "Buddy"), tkClass);
    EXPECT_EQ(PropType(&w, "OnClick"), tkMethod);
    EXPECT_EQ(PropType(&w, "Data"), tkBinary);
}

TEST_F(Properties, MissingObjectsAndNamesNeverThrowFromLookups) {
    EXPECT_EQ(GetPropInfo(static_cast<TObject*>(nullptr), "Size"), nullptr);
    EXPECT_EQ(GetPropInfo(&w, "NoSuchProperty"), nullptr);
    EXPECT_EQ(PropType(nullptr, "Size"), tkUnknown);
    EXPECT_EQ(PropType(&w, ""), tkUnknown);
    EXPECT_FALSE(IsPublishedProp(&w, "Sizes"));
}

TEST_F(Properties, PropListKeepsDeclarationOrderAncestorsFirst) {
    std::vector<std::string> names;
    for (const TPropInfo* p : w.ClassType()->PropList())
        names.push_back(p->Name);
    const std::vector<std::string> expected{"Name",    "Tag",     "Size", "Color",  "Shape", "Visible",
                                            "Options", "Caption", "Hint", "Buddy",  "Lines", "Items",
                                            "OnClick", "OnText",  "Data", "Default"};
    EXPECT_EQ(names, expected);
}

TEST_F(Properties, IntegersRoundTripAsNumbersAndText) {
    SetOrdProp(w, "Size", -42);
    EXPECT_EQ(w.Size(), -42);
    EXPECT_EQ(GetOrdProp(w, "size"), -42);
    SetPropValue(w, "Size", "17");
    EXPECT_EQ(GetPropValue(w, "Size"), "17");
    SetPropValue(w, "Color", "clWhite"); // a named value of the property's type
    EXPECT_EQ(w.Color, 0xFFFFFF);
    SetPropValue(w, "Color", "clBtnFace");
    EXPECT_EQ(GetOrdProp(w, "Color"), -16777201);
    EXPECT_THROW(SetPropValue(w, "Size", "clWhite"), EPropertyError); // Size has no names
    EXPECT_THROW(SetPropValue(w, "Size", "12x"), EPropertyError);
}

TEST_F(Properties, EnumerationsAndBooleansUseTheirValueNames) {
    SetEnumProp(w, "Shape", "TSROUND");
    EXPECT_EQ(w.Shape, tsRound);
    EXPECT_EQ(GetEnumProp(w, "Shape"), "tsRound");
    EXPECT_EQ(GetEnumProp(w, "Visible"), "True");
    SetPropValue(w, "visible", "false");
    EXPECT_FALSE(w.Visible);
    EXPECT_EQ(GetPropValue(w, "Visible"), "False");
    SetOrdProp(w, "Shape", 1);
    EXPECT_EQ(GetEnumProp(w, "Shape"), "tsSquare");
    EXPECT_THROW(SetEnumProp(w, "Shape", "tsTriangle"), EPropertyError);
    EXPECT_THROW(SetOrdProp(w, "Shape", 3), EPropertyError);
    EXPECT_EQ(w.Shape, tsSquare);
}

TEST_F(Properties, SetsMapMemberKToBitK) {
    SetSetProp(w, "Options", "[toItalic, toTall]");
    EXPECT_EQ(w.Options.Bits(), 0b1010u);
    EXPECT_EQ(GetOrdProp(w, "Options"), 0b1010);
    EXPECT_EQ(GetSetProp(w, "Options"), "toItalic,toTall");
    EXPECT_EQ(GetSetProp(w, "Options", true), "[toItalic,toTall]");
    SetPropValue(w, "Options", "toBold");
    EXPECT_TRUE(w.Options.Contains(toBold));
    EXPECT_FALSE(w.Options.Contains(toItalic));
    SetPropValue(w, "Options", "[]");
    EXPECT_TRUE(w.Options.Empty());
    EXPECT_THROW(SetSetProp(w, "Options", "[toBold, toHuge]"), EPropertyError);
}

TEST_F(Properties, StringsAndWideStringsConvertBetweenEachOther) {
    SetStrProp(w, "Caption", "Hello");
    EXPECT_EQ(w.Caption, "Hello");
    EXPECT_EQ(GetWideStrProp(w, "Caption"), L"Hello");
    SetWideStrProp(w, "Hint", L"wide \u00e9");
    EXPECT_EQ(w.Hint, L"wide \u00e9");
    SetStrProp(w, "Hint", "narrow");
    EXPECT_EQ(w.Hint, L"narrow");
    EXPECT_EQ(GetStrProp(w, "Hint"), "narrow");
}

TEST_F(Properties, ObjectPropertiesCheckTheClass) {
    TTestWidget other(nullptr);
    SetObjectProp(w, "Buddy", &other);
    EXPECT_EQ(w.Buddy, &other);
    EXPECT_EQ(GetObjectProp(w, "Buddy"), &other);
    EXPECT_EQ(GetObjectProp(w, "Buddy", TTestButton::StaticClass()), nullptr); // not that class
    EXPECT_EQ(GetObjectProp(w, "Lines"), w.Lines());
    TComponent plain(nullptr);
    EXPECT_THROW(SetObjectProp(w, "Buddy", &plain), EPropertyError);
    EXPECT_THROW(SetObjectProp(w, "Lines", nullptr), EPropertyError); // read-only
    SetObjectProp(w, "Buddy", nullptr);
    EXPECT_EQ(w.Buddy, nullptr);
}

TEST_F(Properties, WrongKindsAndUnknownNamesRaiseClearErrors) {
    try {
        GetOrdProp(w, "Captio");
        FAIL();
    } catch (const EPropertyError& e) {
        EXPECT_EQ(e.Message(), "Property Captio does not exist");
    }
    try {
        GetOrdProp(w, "Caption");
        FAIL();
    } catch (const EPropertyError& e) {
        EXPECT_EQ(e.Message(), "Property Caption is of type string");
    }
    EXPECT_THROW(GetEnumProp(w, "Size"), EPropertyError);
    EXPECT_THROW(GetStrProp(w, "Size"), EPropertyError);
    EXPECT_THROW(GetObjectProp(w, "Size"), EPropertyError);
}

TEST_F(Properties, BinaryPropertiesStreamThroughTheComponentsOwnRoutines) {
    w.Data = {1, 2, 3};
    TMemoryStream out;
    GetPropInfo(&w, "Data")->WriteData(w, out);
    EXPECT_EQ(out.Bytes(), (std::vector<uint8_t>{3, 0, 0, 0, 1, 2, 3}));
    TTestWidget copy(nullptr);
    out.SetPosition(0);
    GetPropInfo(&copy, "Data")->ReadData(copy, out);
    EXPECT_EQ(copy.Data, w.Data);
}

struct Listener : TObject {
    std::vector<std::string> calls;
    void A(TObject*) { calls.push_back("A"); }
    void B(TObject*) { calls.push_back("B"); }
    void Text(TObject*, std::string& s) { s += "!"; }
};

TEST(Closures, AssignedClearedComparedAndSwapped) {
    Listener l1, l2;
    TNotifyEvent none;
    EXPECT_FALSE(none.Assigned());
    TNotifyEvent a(&l1, &Listener::A);
    TNotifyEvent a2(&l1, &Listener::A);
    TNotifyEvent b(&l1, &Listener::B);
    TNotifyEvent other(&l2, &Listener::A);
    EXPECT_TRUE(a.Assigned());
    EXPECT_TRUE(a == a2);
    EXPECT_FALSE(a == b);     // same object, other method
    EXPECT_FALSE(a == other); // same method, other object
    a(nullptr);
    a.Swap(b);
    a(nullptr);
    EXPECT_EQ(l1.calls, (std::vector<std::string>{"A", "B"}));
    a.Clear();
    EXPECT_FALSE(a.Assigned());
    // The same object and method are equal whatever static type named the object.
    struct Derived : Listener {};
    Derived d;
    EXPECT_TRUE(TNotifyEvent(&d, &Listener::A) == TNotifyEvent(static_cast<Listener*>(&d), &Listener::A));
    EXPECT_TRUE(a == none);
    EXPECT_EQ(b.Data(), &l1);
}

TEST(Closures, EventPropertiesTravelAsTypeCheckedMethods) {
    TTestWidget w(nullptr);
    Listener l;
    const TMethod click = TNotifyEvent(&l, &Listener::B).ToMethod();
    SetMethodProp(w, "OnClick", click);
    ASSERT_TRUE(w.OnClick.Assigned());
    w.OnClick(&w);
    EXPECT_EQ(l.calls, (std::vector<std::string>{"B"}));
    EXPECT_TRUE(GetMethodProp(w, "OnClick") == click);
    // A handler of another signature is refused and leaves the event as it was.
    EXPECT_THROW(SetMethodProp(w, "OnText", click), EPropertyError);
    EXPECT_FALSE(w.OnText.Assigned());
    SetMethodProp(w, "OnText", TTextEvent(&l, &Listener::Text).ToMethod());
    std::string s = "hi";
    w.OnText(&w, s);
    EXPECT_EQ(s, "hi!");
    SetMethodProp(w, "OnClick", TMethod{});
    EXPECT_FALSE(w.OnClick.Assigned());
    EXPECT_FALSE(TTextEvent::FromMethod(click).Assigned());
}

} // namespace
