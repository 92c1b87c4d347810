// Which skinner a control or a bare window gets: every row of the class table, the Skin3rd
// kinds and the window-class table, without windows.
#include "SkinnerChoice.h"

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "StdCtrlsLists.h"
#include "TypInfo.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <deque>

namespace {

// Classes of other libraries: only their name and ancestry matter to the decisions.
TClass Foreign(const char* name, TClass parent = TWinControl::StaticClass()) {
    static std::deque<TClassInfo> classes;
    TClassInfo& info = classes.emplace_back();
    info.Name = name;
    info.Parent = parent;
    return &info;
}

TControlFacts Facts(TClass cls, LONG_PTR style = WS_CHILD) {
    TControlFacts facts;
    facts.Class = cls;
    facts.ClassName = UpperCase(cls->Name);
    facts.Style = style;
    return facts;
}

// "TSkinBox own children-before +flat" and the like; "" for a plan that does nothing.
std::string Describe(const TSkinPlan& plan) {
    static const char* const walks[] = {"", "children-before", "children-after", "children-noparent",
                                        "group-children"};
    static const char* const rules[] = {"", "radio", "check", "embedscroll"};
    static const char* const attaches[] = {"", "window", "scrolled", "graphic", "scroll bar"};
    const TSkinnerChoice& s = plan.Skinner;
    std::string text(SkinnerClassName(s.Kind));
    auto add = [&text](const std::string& part) {
        if (!part.empty())
            text += (text.empty() ? "" : " ") + part;
    };
    if (s.OwnColor)
        add("own");
    if (s.Variant)
        add("v" + std::to_string(s.Variant));
    if (s.GlyphKind)
        add("g" + std::to_string(s.GlyphKind));
    if (s.AdvKind)
        add("adv" + std::to_string(s.AdvKind));
    if (!s.PictureProp.empty())
        add(s.PictureProp);
    if (s.Kind != skNone)
        add(attaches[s.Attach]);
    add(walks[plan.Children]);
    add(rules[plan.ChildRule]);
    if (plan.SetFlat)
        add("+flat");
    if (plan.SetTransparent)
        add("+transparent");
    if (plan.ToolbarHandlers)
        add("+toolbar");
    if (plan.HookMenuItems)
        add("+menus");
    if (plan.WalkComponents)
        add("+components");
    return text;
}

TSkinSettings AllOn() {
    TSkinSettings settings;
    settings.Controls = TSkinData::DefaultSkinControls;
    settings.HasTabs = true;
    settings.FrameSkinned = true;
    return settings;
}

TSkinSettings Without(TSkinControlType kind) {
    TSkinSettings settings = AllOn();
    settings.Controls.Exclude(kind);
    return settings;
}

struct TClassRow {
    const char* Case;
    TControlFacts Control;
    TSkinSettings Settings;
    const char* Expected;
};

TControlFacts Page(const char* style) {
    TControlFacts facts = Facts(TPageControl::StaticClass());
    facts.PageStyle = style;
    return facts;
}

TControlFacts DcEdit(int numButtons, TClass parent = TWinControl::StaticClass()) {
    TControlFacts facts = Facts(Foreign("TDCEdit", parent));
    facts.NumButtons = numButtons;
    return facts;
}

TSkinSettings NoTabs() {
    TSkinSettings settings = AllOn();
    settings.HasTabs = false;
    return settings;
}

TSkinSettings FrameNotSkinned() {
    TSkinSettings settings = AllOn();
    settings.FrameSkinned = false;
    return settings;
}

} // namespace

TEST(SkinnerChoice, EveryRowOfTheClassTableGivesItsSkinnerAndOnlyWithItsKindSwitchedOn) {
    const TClass panel = TPanel::StaticClass();
    const TClassRow rows[] = {
        {"page control with tabs", Page("tstabs"), AllOn(), "TSkinTab"},
        {"page control with flat buttons", Page("tsflatbuttons"), AllOn(), "TSkinTabBtn"},
        {"page control with buttons", Page("tsbuttons"), AllOn(), "TSkinTabBtn"},
        {"tab control", Facts(TTabControl::StaticClass()), AllOn(), "TSkinTab v2"},
        {"page control, skin without tabs", Page("tstabs"), NoTabs(), ""},
        {"page control, tabs off", Page("tstabs"), Without(xcTab), ""},
        {"tool button in a skinned frame", Facts(TToolButton::StaticClass(), 0), AllOn(), "+menus"},
        {"tool button, frame not skinned", Facts(TToolButton::StaticClass(), 0), FrameNotSkinned(), ""},
        {"tab set", Facts(Foreign("TTabSet")), AllOn(), "TSkinTab31"},
        {"tab set, skin without tabs", Facts(Foreign("TTabSet")), NoTabs(), ""},
        {"tab sheet", Facts(TTabSheet::StaticClass()), AllOn(), "TSkinTabSheet"},
        {"tabbed notebook", Facts(Foreign("TTabbedNotebook")), AllOn(), "TSkinTab"},
        {"MVC panel", Facts(Foreign("TMVCPanel")), AllOn(), "children-after"},
        {"up-down", Facts(Foreign("TUpDown")), AllOn(), "TSkinUpDown"},
        {"spin button", Facts(Foreign("TSpinButton")), AllOn(), "TSkinUpDown"},
        {"spin button, spin off", Facts(Foreign("TSpinButton")), Without(xcSpin), ""},
        {"media player", Facts(Foreign("TMediaPlayer")), AllOn(), "TSkinMP"},
        {"media player, buttons off", Facts(Foreign("TMediaPlayer")), Without(xcButton), ""},
        {"navigator", Facts(Foreign("TDBNavigator")), AllOn(), "TSkinBox own children-noparent"},
        {"navigator, panels off", Facts(Foreign("TDBNavigator")), Without(xcPanel), ""},
        {"Rz check box", Facts(Foreign("TRzCheckBox")), AllOn(), "TSkinObjImage own g1"},
        {"Rz DB check box", Facts(Foreign("TRzDBCheckBox")), AllOn(), "TSkinObjImage own g1"},
        {"Rz check box, check boxes off", Facts(Foreign("TRzCheckBox")), Without(xcCheckBox), ""},
        {"Rz radio button", Facts(Foreign("TRzRadioButton")), AllOn(), "TSkinObjImage own g2"},
        {"Rz DB radio button", Facts(Foreign("TRzDBRadioButton")), AllOn(), "TSkinObjImage own g2"},
        {"cx check box", Facts(Foreign("TcxCheckBox")), AllOn(), "TSkinObjImage own g3"},
        {"cx DB check box", Facts(Foreign("TcxDBCheckBox")), AllOn(), "TSkinObjImage own g3"},
        {"radio button", Facts(TRadioButton::StaticClass()), AllOn(), "TSkinRadioButton"},
        {"radio button, radios off", Facts(TRadioButton::StaticClass()), Without(xcRadioButton), ""},
        {"toolbar", Facts(TToolBar::StaticClass()), AllOn(), "TSkinBox +flat +toolbar +menus"},
        {"toolbar, toolbars off", Facts(TToolBar::StaticClass()), Without(xcToolbar), ""},
        {"status bar", Facts(TStatusBar::StaticClass()), AllOn(), "TSkinStatusBar"},
        {"status bar, status bars off", Facts(TStatusBar::StaticClass()), Without(xcStatusBar), ""},
        {"Tnt combo box", Facts(Foreign("TTntComboBox")), AllOn(), "TSkinComBox"},
        {"combo box", Facts(TComboBox::StaticClass()), AllOn(), "TSkinComBox"},
        {"combo box, combos off", Facts(TComboBox::StaticClass()), Without(xcCombo), ""},
        {"rich edit", Facts(Foreign("TRichEdit")), AllOn(), "TSkinScrollbar scrolled"},
        {"ww rich edit", Facts(Foreign("TwwDBRichEdit")), AllOn(), "TSkinScrollbar scrolled"},
        {"dx memo", Facts(Foreign("TdxDBMemo")), AllOn(), "TSkinScrollbar scrolled"},
        {"rich edit, scroll bars off", Facts(Foreign("TRichEdit")), Without(xcScrollbar), ""},
        {"panel", Facts(panel), AllOn(), "TSkinBox own children-before"},
        {"panel that scrolls: the panel row comes first", Facts(panel, WS_CHILD | WS_VSCROLL), AllOn(),
         "TSkinBox own children-before"},
        {"panel, panels off, scrolling", Facts(panel, WS_CHILD | WS_VSCROLL), Without(xcPanel),
         "TSkinScrollbar scrolled"},
        {"dx tree list", Facts(Foreign("TdxTreeList")), AllOn(), "TSkinScrollbar scrolled"},
        {"dx DB grid", Facts(Foreign("TdxDBGrid")), AllOn(), "TSkinScrollbar scrolled"},
        {"list view", Facts(TListView::StaticClass()), AllOn(), "TSkinListView scrolled"},
        {"list view, scroll bars off", Facts(TListView::StaticClass()), Without(xcScrollbar), ""},
        {"scroll-bar control", Facts(TScrollBar::StaticClass()), AllOn(), "TSkinScControl scroll bar"},
        {"scroll-bar control, scroll bars off", Facts(TScrollBar::StaticClass()), Without(xcScrollbar), ""},
        {"any control with a vertical scroll bar", Facts(Foreign("TMemo"), WS_CHILD | WS_VSCROLL), AllOn(),
         "TSkinScrollbar scrolled"},
        {"any control with a horizontal scroll bar", Facts(Foreign("TMemo"), WS_CHILD | WS_HSCROLL), AllOn(),
         "TSkinScrollbar scrolled"},
        {"a control without scroll bars", Facts(Foreign("TMemo")), AllOn(), ""},
        {"button", Facts(TButton::StaticClass()), AllOn(), "TSkinButton"},
        {"button, buttons off", Facts(TButton::StaticClass()), Without(xcButton), ""},
        {"embedded form", Facts(TForm::StaticClass()), AllOn(), "TSkinBox own +components"},
        {"DC edit with a button", DcEdit(1), AllOn(), "TSkinComBox"},
        {"DC edit without buttons", DcEdit(0), AllOn(), "TSkinEdit window"},
        {"DC edit without buttons, edits off", DcEdit(0), Without(xcEdit), ""},
        {"DC edit with two buttons", DcEdit(2), AllOn(), ""},
        {"DC edit that is a form is no embedded form", DcEdit(0, TForm::StaticClass()), AllOn(),
         "TSkinEdit window"},
        {"a plain windowed control", Facts(TWinControl::StaticClass()), AllOn(), ""},
    };
    for (const TClassRow& row : rows)
        EXPECT_EQ(Describe(PlanFromClassTable(row.Control, row.Settings)), row.Expected) << row.Case;
}

TEST(SkinnerChoice, Skin3rdKindsSelectTheirSkinnerAndOnlyWithTheirKindSwitchedOn) {
    struct TRow {
        const char* Value;
        TSkinSettings Settings;
        const char* Expected;
    };
    const TRow rows[] = {
        {"combobox", AllOn(), "TSkinComBox"},
        {"combobox", Without(xcCombo), ""},
        {"edit", AllOn(), "TSkinEdit"},
        {"edit", Without(xcEdit), ""},
        {"radiobutton", AllOn(), "TSkinRadioButton"},
        {"radiobutton", Without(xcRadioButton), ""},
        {"panel", AllOn(), "TSkinBox own +transparent"},
        {"panel", Without(xcPanel), ""},
        {"trackbar", AllOn(), "TSkinTrackBar +transparent"},
        {"trackbar", Without(xcButton), ""},
        {"button", AllOn(), "TSkinButton"},
        {"button", Without(xcButton), ""},
        {"datetimepicker", AllOn(), "TSkinDateTime"},
        {"datetimepicker", Without(xcCombo), ""},
        {"mediaplayer", AllOn(), "TSkinMP"},
        {"mediaplayer", Without(xcButton), ""},
        {"bitbtn", AllOn(), "TSkinBitButton"},
        {"bitbtn", Without(xcButton), ""},
        {"pngbitbtn", AllOn(), "TSkinBitButton PngImage"},
        {"pngbitbtn", Without(xcButton), ""},
        {"menubtn", AllOn(), "TSkinMenuButton"},
        {"menubtn", Without(xcButton), ""},
        {"speedbutton", AllOn(), "TSkinSpeedButton graphic"},
        {"speedbutton", Without(xcSpeedButton), ""},
        {"tab", AllOn(), "TSkinTab"},
        {"tab", NoTabs(), ""},
        {"tab", Without(xcTab), ""},
        {"progress", AllOn(), "TSkinProgress"},
        {"progress", Without(xcProgress), ""},
        {"scrollbar", AllOn(), "TSkinScrollbar scrolled children-after"},
        {"scrollbar", Without(xcScrollbar), ""},
        {"singlescrollbar", AllOn(), "TSkinScrollbar v1 scrolled"},
        {"singlescrollbar", Without(xcScrollbar), ""},
        {"embedscrollbar", AllOn(), "group-children embedscroll"},
        {"embedscrollbar", Without(xcScrollbar), ""},
        {"container", AllOn(), "children-after"},
        {"groupbox", AllOn(), "TSkinGroupBox own"},
        {"groupbox", Without(xcGroupBox), ""},
        {"advpagecontrol", AllOn(), "TSkinAdvPage own adv4"},
        {"advpagecontrol", Without(xcTab), ""},
        {"radiogroup", AllOn(), "TSkinGroupBox own group-children radio"},
        {"radiogroup", Without(xcGroupBox), ""},
        {"checkgroup", AllOn(), "TSkinGroupBox own group-children check"},
        {"checkgroup", Without(xcGroupBox), "group-children check"},
        {"checkgroup", Without(xcPanel), ""},
        {"checkbox", AllOn(), "TSkinCheckBox"},
        {"checkbox", Without(xcCheckBox), ""},
        {"nil", AllOn(), ""},
        {"something else", AllOn(), ""},
    };
    TControlFacts bordered = Facts(Foreign("TSomeControl"));
    bordered.HasBorder = true;
    for (const TRow& row : rows)
        EXPECT_EQ(Describe(PlanFromSkin3rd(row.Value, bordered, row.Settings)), row.Expected) << row.Value;
}

TEST(SkinnerChoice, Skin3rdDetailsThatDependOnTheControl) {
    // An edit without a border keeps its look.
    EXPECT_EQ(Describe(PlanFromSkin3rd("edit", Facts(Foreign("TBorderless")), AllOn())), "");
    // A cx button of the drop-down kind is a menu button, other kinds and classes bit buttons.
    TControlFacts cx = Facts(Foreign("TcxButton"));
    cx.Kind = "cxbkdropdownbutton";
    EXPECT_EQ(Describe(PlanFromSkin3rd("bitbtn", cx, AllOn())), "TSkinMenuButton");
    cx.Kind = "cxbkstandard";
    EXPECT_EQ(Describe(PlanFromSkin3rd("bitbtn", cx, AllOn())), "TSkinBitButton");
    TControlFacts other = Facts(Foreign("TRzBitbtn"));
    other.Kind = "cxbkdropdownbutton";
    EXPECT_EQ(Describe(PlanFromSkin3rd("bitbtn", other, AllOn())), "TSkinBitButton");
}

TEST(SkinnerChoice, Skin3rdLookupTakesTheFirstLineThatStartsWithTheClassAndEquals) {
    TStringList lines;
    lines.Add("TMyEditor=Panel");
    lines.Add("tmyedit=Edit");
    lines.Add("TMYEDIT=combobox");
    lines.Add("TLong=" + std::string(60, 'x'));
    lines.Add("TTwo=a=b");
    EXPECT_EQ(Skin3rdValue(lines, "TMyEdit").value_or("?"), "edit");
    EXPECT_EQ(Skin3rdValue(lines, "TMYEDITOR").value_or("?"), "panel");
    EXPECT_EQ(Skin3rdValue(lines, "TLong").value_or("?"), std::string(50, 'x'));
    EXPECT_EQ(Skin3rdValue(lines, "TTwo").value_or("?"), "a=b");
    EXPECT_FALSE(Skin3rdValue(lines, "TMyEd").has_value());
    EXPECT_FALSE(Skin3rdValue(lines, "TNone").has_value());
}

TEST(SkinnerChoice, ChildrenOfGroupsGetTheGroupsButtonsOrScrollBars) {
    const TSkinSettings all = AllOn();
    const TControlFacts plain = Facts(TRadioButton::StaticClass());
    const TControlFacts rz = Facts(Foreign("TRzRadioButton"));
    EXPECT_EQ(GroupChildSkinner(grRadioGroup, plain, all).Kind, skRadioButton);
    EXPECT_EQ(GroupChildSkinner(grRadioGroup, rz, all).GlyphKind, 2);
    EXPECT_EQ(GroupChildSkinner(grCheckGroup, plain, all).Kind, skCheckBox);
    const TSkinnerChoice rzCheck = GroupChildSkinner(grCheckGroup, rz, all);
    EXPECT_EQ(rzCheck.Kind, skObjImage);
    EXPECT_EQ(rzCheck.GlyphKind, 1);
    EXPECT_TRUE(rzCheck.OwnColor);
    // Check groups ask for the radio-button kind, as radio groups do.
    EXPECT_EQ(GroupChildSkinner(grCheckGroup, plain, Without(xcRadioButton)).Kind, skNone);
    EXPECT_EQ(GroupChildSkinner(grRadioGroup, plain, Without(xcRadioButton)).Kind, skNone);
    EXPECT_EQ(GroupChildSkinner(grEmbedScroll, Facts(Foreign("TGrid"), WS_CHILD | WS_VSCROLL), all).Kind,
              skScrollbar);
    EXPECT_EQ(GroupChildSkinner(grEmbedScroll, Facts(Foreign("TGrid")), all).Kind, skNone);
    EXPECT_TRUE(IsButtonGroupClass("TRzRadioGroup"));
    EXPECT_TRUE(IsButtonGroupClass("TLMDCHECKGROUP"));
    EXPECT_FALSE(IsButtonGroupClass("TGroupBox"));
}

TEST(SkinnerChoice, BareWindowsGetTheirSkinnerByClassAndStyle) {
    struct TRow {
        const char* Class;
        LONG_PTR Style;
        TSkinnerKind Kind;
        bool FirstChild = false;
        bool WalkChildren = false;
        bool FaceColor = false;
    };
    const TRow rows[] = {
        {"button", BS_PUSHBUTTON, skButton},
        {"button", BS_DEFPUSHBUTTON, skButton},
        {"button", BS_USERBUTTON, skButton},
        {"button", BS_CHECKBOX, skCheckBox},
        {"button", BS_AUTOCHECKBOX, skCheckBox},
        {"button", BS_3STATE, skCheckBox},
        {"button", BS_AUTO3STATE, skCheckBox},
        {"button", BS_RADIOBUTTON, skRadioButton},
        {"button", BS_AUTORADIOBUTTON, skRadioButton},
        {"button", BS_GROUPBOX, skNone},
        {"button", BS_PUSHBUTTON | BS_BITMAP, skNone},
        {"button", BS_OWNERDRAW, skNone},
        {"combobox", CBS_DROPDOWN, skComBox},
        {"combobox", CBS_DROPDOWNLIST, skComBox},
        {"combobox", CBS_SIMPLE, skNone},
        {"comboboxex32", 0, skComBox, true},
        {"scrollbar", SBS_SIZEGRIP, skSizer},
        {"scrollbar", SBS_VERT | WS_TABSTOP, skNone},
        {"systreeview32", 0, skNone},
        {"#32770", 0, skBoxH, false, true},
        {"#32770", WS_TABSTOP, skNone},
        {"tpanel", 0, skNone, false, true, true},
        {"ttntpanel.unicodeclass", 0, skNone, false, true, true},
        {"ttntsilentpaintpanel.unicodeclass", 0, skNone, false, true, true},
        {"tcheckbox", 0, skCheckBox},
        {"tcombobox", 0, skComBox},
        {"tbutton", 0, skButton},
        {"tprogressbar", 0, skProgress},
        {"tsilentpaintpanel", 0, skNone, false, false, true},
        {"systabcontrol32", 0, skTab},
        {"systabcontrol32", TCS_OWNERDRAWFIXED, skNone},
        {"edit", ES_AUTOHSCROLL, skEdit},
        {"static", 0, skNone},
    };
    for (const TRow& row : rows) {
        const TWindowPlan plan = PlanForWindow(row.Class, WS_CHILD | row.Style);
        const std::string label = std::string(row.Class) + " " + std::to_string(row.Style);
        EXPECT_EQ(plan.Kind, row.Kind) << label;
        EXPECT_EQ(plan.FirstChild, row.FirstChild) << label;
        EXPECT_EQ(plan.WalkChildren, row.WalkChildren) << label;
        EXPECT_EQ(plan.FaceColor, row.FaceColor) << label;
    }
}
