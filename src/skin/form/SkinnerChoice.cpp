#include "SkinnerChoice.h"

#include "SkinText.h"
#include "TypInfo.h"

#include <algorithm>
#include <commctrl.h>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<TSkinnerKind, std::string_view>, 28> kSkinnerNames{{
    {skNone, ""},
    {skButton, "TSkinButton"},
    {skBitButton, "TSkinBitButton"},
    {skMenuButton, "TSkinMenuButton"},
    {skSpeedButton, "TSkinSpeedButton"},
    {skCheckBox, "TSkinCheckBox"},
    {skRadioButton, "TSkinRadioButton"},
    {skObjImage, "TSkinObjImage"},
    {skGroupBox, "TSkinGroupBox"},
    {skBox, "TSkinBox"},
    {skBoxH, "TSkinBoxH"},
    {skSizer, "TSkinSizer"},
    {skStatusBar, "TSkinStatusBar"},
    {skProgress, "TSkinProgress"},
    {skTrackBar, "TSkinTrackBar"},
    {skUpDown, "TSkinUpDown"},
    {skEdit, "TSkinEdit"},
    {skDateTime, "TSkinDateTime"},
    {skComBox, "TSkinComBox"},
    {skTab, "TSkinTab"},
    {skTabBtn, "TSkinTabBtn"},
    {skTab31, "TSkinTab31"},
    {skTabSheet, "TSkinTabSheet"},
    {skAdvPage, "TSkinAdvPage"},
    {skScrollbar, "TSkinScrollbar"},
    {skListView, "TSkinListView"},
    {skScControl, "TSkinScControl"},
    {skMP, "TSkinMP"},
}};

constexpr size_t kMaxSkin3rdValue = 50;

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The attach call each skinner class takes.
TSkinAttach AttachOf(TSkinnerKind kind) {
    switch (kind) {
    case skScrollbar:
    case skListView:
        return saScrolled;
    case skSpeedButton:
        return saGraphic;
    case skScControl:
        return saScrollBar;
    default:
        return saControl;
    }
}

TSkinnerChoice Choice(TSkinnerKind kind, bool ownColor = false) {
    TSkinnerChoice choice;
    choice.Kind = kind;
    choice.OwnColor = ownColor;
    choice.Attach = AttachOf(kind);
    return choice;
}

TSkinPlan Plan(TSkinnerKind kind, bool ownColor = false) {
    TSkinPlan plan;
    plan.Skinner = Choice(kind, ownColor);
    return plan;
}

TSkinPlan ChildrenOnly(TChildWalk walk) {
    TSkinPlan plan;
    plan.Children = walk;
    return plan;
}

TSkinPlan GroupPlan(TChildRule rule, TSkinnerKind own) {
    TSkinPlan plan = Plan(own, own != skNone);
    plan.Children = cwGroupChildren;
    plan.ChildRule = rule;
    return plan;
}

bool HasScrollStyle(LONG_PTR style) {
    return (style & (WS_VSCROLL | WS_HSCROLL)) != 0;
}

} // namespace

std::string_view SkinnerClassName(TSkinnerKind kind) {
    for (const auto& [k, name] : kSkinnerNames)
        if (k == kind)
            return name;
    return {};
}

bool TControlFacts::InheritsFrom(std::string_view ancestor) const {
    return Class && Class->InheritsFrom(ancestor);
}

bool IsButtonGroupClass(std::string_view className) {
    const std::string lower = SkinText::LowerCase(className);
    return lower.find("radiogroup") != std::string::npos || lower.find("checkgroup") != std::string::npos;
}

// ---- Skin3rd --------------------------------------------------------------------------------

std::optional<std::string> Skin3rdValue(const TStrings& lines, std::string_view className) {
    const std::string key = SkinText::LowerCase(className) + "=";
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = SkinText::LowerCase(lines.Get(i));
        if (line.compare(0, key.size(), key) != 0)
            continue;
        const size_t equals = line.find('=');
        return line.substr(equals + 1, kMaxSkin3rdValue);
    }
    return std::nullopt;
}

TSkinPlan PlanFromSkin3rd(std::string_view value, const TControlFacts& control,
                          const TSkinSettings& settings) {
    if (value == "combobox" && settings.Has(xcCombo))
        return Plan(skComBox);
    if (value == "edit" && settings.Has(xcEdit))
        return control.HasBorder ? Plan(skEdit) : TSkinPlan{};
    if (value == "radiobutton" && settings.Has(xcRadioButton))
        return Plan(skRadioButton);
    if (value == "panel" && settings.Has(xcPanel)) {
        TSkinPlan plan = Plan(skBox, true);
        plan.SetTransparent = true;
        return plan;
    }
    if (value == "trackbar" && settings.Has(xcButton)) {
        TSkinPlan plan = Plan(skTrackBar);
        plan.SetTransparent = true;
        return plan;
    }
    if (value == "button" && settings.Has(xcButton))
        return Plan(skButton);
    if (value == "datetimepicker" && settings.Has(xcCombo))
        return Plan(skDateTime);
    if (value == "mediaplayer" && settings.Has(xcButton))
        return Plan(skMP);
    if (value == "bitbtn" && settings.Has(xcButton)) {
        const bool dropDown = control.ClassName == "TCXBUTTON" && control.Kind == "cxbkdropdownbutton";
        return Plan(dropDown ? skMenuButton : skBitButton);
    }
    if (value == "pngbitbtn" && settings.Has(xcButton)) {
        TSkinPlan plan = Plan(skBitButton);
        plan.Skinner.PictureProp = "PngImage";
        return plan;
    }
    if (value == "menubtn" && settings.Has(xcButton))
        return Plan(skMenuButton);
    if (value == "speedbutton" && settings.Has(xcSpeedButton))
        return Plan(skSpeedButton);
    if (value == "tab" && settings.TabsReady())
        return Plan(skTab);
    if (value == "progress" && settings.Has(xcProgress))
        return Plan(skProgress);
    if (value == "scrollbar" && settings.Has(xcScrollbar)) {
        TSkinPlan plan = Plan(skScrollbar);
        plan.Children = cwAfter;
        return plan;
    }
    if (value == "singlescrollbar" && settings.Has(xcScrollbar)) {
        TSkinPlan plan = Plan(skScrollbar);
        plan.Skinner.Variant = 1;
        return plan;
    }
    if (value == "embedscrollbar" && settings.Has(xcScrollbar))
        return GroupPlan(grEmbedScroll, skNone);
    if (value == "container")
        return ChildrenOnly(cwAfter);
    if (value == "groupbox" && settings.Has(xcGroupBox))
        return Plan(skGroupBox, true);
    if (value == "advpagecontrol" && settings.Has(xcTab)) {
        TSkinPlan plan = Plan(skAdvPage, true);
        plan.Skinner.AdvKind = 4;
        return plan;
    }
    if (value == "radiogroup" && settings.Has(xcGroupBox))
        return GroupPlan(grRadioGroup, skGroupBox);
    if (value == "checkgroup" && settings.Has(xcPanel))
        return GroupPlan(grCheckGroup, settings.Has(xcGroupBox) ? skGroupBox : skNone);
    if (value == "checkbox" && settings.Has(xcCheckBox))
        return Plan(skCheckBox);
    return {};
}

TSkinnerChoice GroupChildSkinner(TChildRule rule, const TControlFacts& child, const TSkinSettings& settings) {
    const bool rz = child.ClassName.find("TRZ") != std::string::npos;
    switch (rule) {
    case grRadioGroup:
    case grCheckGroup: {
        if (!settings.Has(xcRadioButton))
            return {};
        const bool radio = rule == grRadioGroup;
        if (!rz)
            return Choice(radio ? skRadioButton : skCheckBox);
        TSkinnerChoice choice = Choice(skObjImage, true);
        choice.GlyphKind = radio ? 2 : 1;
        return choice;
    }
    case grEmbedScroll:
        return HasScrollStyle(child.Style) ? Choice(skScrollbar) : TSkinnerChoice{};
    default:
        return {};
    }
}

// ---- the class table --------------------------------------------------------------------------

namespace {

TSkinPlan ObjImagePlan(int glyphKind) {
    TSkinPlan plan = Plan(skObjImage, true);
    plan.Skinner.GlyphKind = glyphKind;
    return plan;
}

// Tab-like controls; none when the row does not apply.
std::optional<TSkinPlan> TabRows(const TControlFacts& c, const TSkinSettings& s) {
    if (!s.TabsReady())
        return std::nullopt;
    if (c.InheritsFrom("TCustomTabControl")) {
        if (!c.InheritsFrom("TPageControl")) {
            TSkinPlan plan = Plan(skTab);
            plan.Skinner.Variant = 2;
            return plan;
        }
        return Plan(c.PageStyle == "tstabs" ? skTab : skTabBtn);
    }
    return std::nullopt;
}

} // namespace

TSkinPlan PlanFromClassTable(const TControlFacts& c, const TSkinSettings& s) {
    const std::string& name = c.ClassName;
    if (auto tab = TabRows(c, s))
        return *tab;
    if (c.InheritsFrom("TToolButton") && s.FrameSkinned) {
        TSkinPlan plan;
        plan.HookMenuItems = true;
        return plan;
    }
    if (name == "TTABSET" && s.TabsReady())
        return Plan(skTab31);
    if (c.InheritsFrom("TTabSheet") && s.TabsReady())
        return Plan(skTabSheet);
    if (name == "TTABBEDNOTEBOOK" && s.TabsReady())
        return Plan(skTab);
    if (name == "TMVCPANEL")
        return ChildrenOnly(cwAfter);
    if (OneOf(name, {"TUPDOWN", "TSPINBUTTON"}) && s.Has(xcSpin))
        return Plan(skUpDown);
    if (name == "TMEDIAPLAYER" && s.Has(xcButton))
        return Plan(skMP);
    if (name == "TDBNAVIGATOR" && s.Has(xcPanel)) {
        TSkinPlan plan = Plan(skBox, true);
        plan.Children = cwAfterNoParent;
        return plan;
    }
    if (OneOf(name, {"TRZDBCHECKBOX", "TRZCHECKBOX"}) && s.Has(xcCheckBox))
        return ObjImagePlan(1);
    if (OneOf(name, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}) && s.Has(xcRadioButton))
        return ObjImagePlan(2);
    if (OneOf(name, {"TCXDBCHECKBOX", "TCXCHECKBOX"}) && s.Has(xcCheckBox))
        return ObjImagePlan(3);
    if (c.InheritsFrom("TRadioButton") && s.Has(xcRadioButton))
        return Plan(skRadioButton);
    if (c.InheritsFrom("TToolBar") && s.Has(xcToolbar)) {
        TSkinPlan plan = Plan(skBox);
        plan.SetFlat = true;
        plan.ToolbarHandlers = true;
        plan.HookMenuItems = true;
        return plan;
    }
    if (c.InheritsFrom("TCustomStatusBar") && s.Has(xcStatusBar))
        return Plan(skStatusBar);
    if (name == "TTNTCOMBOBOX" && s.Has(xcCombo))
        return Plan(skComBox);
    if (c.InheritsFrom("TCustomComboBox") && s.Has(xcCombo))
        return Plan(skComBox);
    if (s.Has(xcScrollbar) && OneOf(name, {"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"}))
        return Plan(skScrollbar);
    if (c.InheritsFrom("TCustomPanel") && s.Has(xcPanel)) {
        TSkinPlan plan = Plan(skBox, true);
        plan.Children = cwBefore;
        return plan;
    }
    if (OneOf(name, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && s.Has(xcScrollbar))
        return Plan(skScrollbar);
    if (c.InheritsFrom("TCustomListView") && s.Has(xcScrollbar))
        return Plan(skListView);
    // A scroll-bar control is one bar, covered like the bars of the controls that scroll.
    if (c.InheritsFrom("TScrollBar") && s.Has(xcScrollbar))
        return Plan(skScControl);
    if (s.Has(xcScrollbar) && HasScrollStyle(c.Style))
        return Plan(skScrollbar);
    if (c.InheritsFrom("TButton") && s.Has(xcButton))
        return Plan(skButton);
    const bool dcEdit = OneOf(name, {"TDCEDIT", "TDCDBEDIT"});
    if (!dcEdit && c.InheritsFrom("TCustomForm")) {
        TSkinPlan plan = Plan(skBox, true);
        plan.WalkComponents = true;
        return plan;
    }
    if (dcEdit) {
        if (c.NumButtons == 1 && s.Has(xcCombo))
            return Plan(skComBox);
        if (c.NumButtons == 0 && s.Has(xcEdit)) {
            TSkinPlan plan = Plan(skEdit);
            plan.Skinner.Attach = saWindow;
            return plan;
        }
    }
    return {};
}

// ---- bare windows ---------------------------------------------------------------------------

namespace {

TWindowPlan WindowKind(TSkinnerKind kind) {
    TWindowPlan plan;
    plan.Kind = kind;
    return plan;
}

TWindowPlan ButtonWindow(LONG_PTR style) {
    const LONG_PTR type = style & 0xF;
    if ((type & 7) == 7 || (style & BS_BITMAP))
        return {};
    if ((type & 2) || (type & 5) == 5)
        return WindowKind(skCheckBox);
    if ((type & 9) == 9 || (type & 4))
        return WindowKind(skRadioButton);
    return WindowKind(skButton);
}

} // namespace

TWindowPlan PlanForWindow(std::string_view name, LONG_PTR style) {
    const bool tabStop = (style & WS_TABSTOP) != 0;
    if (name == "button" && (style & 0xB) != 0xB)
        return ButtonWindow(style);
    if (name == "combobox")
        return (style & 3) == CBS_SIMPLE ? TWindowPlan{} : WindowKind(skComBox);
    if (name == "comboboxex32") {
        TWindowPlan plan = WindowKind(skComBox);
        plan.FirstChild = true;
        return plan;
    }
    if (name == "scrollbar")
        return tabStop ? TWindowPlan{} : WindowKind(skSizer);
    if (name == "#32770") {
        if (tabStop)
            return {};
        TWindowPlan plan = WindowKind(skBoxH);
        plan.WalkChildren = true;
        return plan;
    }
    if (OneOf(name, {"tpanel", "ttntpanel.unicodeclass", "ttntsilentpaintpanel.unicodeclass"})) {
        TWindowPlan plan;
        plan.WalkChildren = true;
        plan.FaceColor = true;
        return plan;
    }
    if (name == "tcheckbox")
        return WindowKind(skCheckBox);
    if (name == "tcombobox")
        return WindowKind(skComBox);
    if (name == "tbutton")
        return WindowKind(skButton);
    if (name == "tprogressbar")
        return WindowKind(skProgress);
    if (name == "tsilentpaintpanel") {
        TWindowPlan plan;
        plan.FaceColor = true;
        return plan;
    }
    if (name == "systabcontrol32")
        return (style & TCS_OWNERDRAWFIXED) ? TWindowPlan{} : WindowKind(skTab);
    if (name == "edit")
        return WindowKind(skEdit);
    return {};
}
