// Everything a loaded skin consists of: the element records, the colour table, the custom
// colours and the images derived from them. ParseSkin builds it all from a skin package and
// its INI in one pass.
#pragma once

#include "WinHandle.h"
#include "WinSkinData.h"
#include "WinSkinDataColor.h"

#include <memory>
#include <string_view>
#include <vector>

class TQuickIni;
class TSkinReader;

// An absent element (its section is missing or names no image) has no record, and its
// painter falls back to ordinary drawing. The four borders, Title and Buttons always exist.
struct TSkinElements {
    TSkinElements();

    std::unique_ptr<TDataSkinBorder> BorderLeft;
    std::unique_ptr<TDataSkinBorder> BorderRight;
    std::unique_ptr<TDataSkinBorder> BorderTop;
    std::unique_ptr<TDataSkinBorder> BorderBottom;

    TSkinColorTable Colors;
    std::vector<TColor> Colours; // the custom colours the records' colour indices refer to

    // The skin's title-bar buttons, then the three MDI child buttons (minimise, restore, close).
    std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;

    std::unique_ptr<TDataSkinButton> Buttons;
    std::unique_ptr<TDataSkinTitle> Title;
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinObject> ProgressChunk;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> TabPane;
    std::unique_ptr<TDataSkinObject> ToolBars;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
    std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
    std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
    std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
    std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
    std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    std::unique_ptr<TDataSkinObject> Track;
    std::unique_ptr<TDataSkinObject> TrackVert;

    // Derived when the skin loads.
    std::unique_ptr<TDataSkinObject> ComboxArrow;
    std::unique_ptr<TDataSkinObject> Toolbar;
    TColor FrameColor = clBtnFace;
    TBrushHandle ButtonFaceBrush;
};

// Builds every element, the colour table and the derived images from a skin's INI, fetching
// the images from its package. Elements of an earlier skin that the new one lacks become
// absent. Nothing is reported: missing keys give defaults, missing or unreadable images give
// empty bitmaps.
void ParseSkin(TSkinElements& elements, const TSkinReader& reader, const TQuickIni& ini);

// Fills bitmap from the package entry an INI value names: only the file-name part counts, and
// only a ".bmp" extension (in that case) is loaded. Anything else, a missing entry or an entry
// that is no readable bitmap leaves the bitmap empty.
void LoadSkinBitmap(const TSkinReader& reader, TBitmap& bitmap, std::string_view imageName);

// The last step of ParseSkin: the combo-box composite and its mirror, ComboxArrow, the
// toolbar gradient, FrameColor and ButtonFaceBrush, from the elements already read.
void BuildDerivedImages(TSkinElements& elements);

// The built-in images used when a skin has no "Track" or "TRACKVERT" image: bitmap resources
// of the program (16 x 4 and 4 x 16).
inline constexpr const char* BuiltInTrackImage = "TRACK";
inline constexpr const char* BuiltInTrackVertImage = "TRACKVERT";
