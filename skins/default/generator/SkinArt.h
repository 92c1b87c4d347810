// The painters of the skin's elements. Each adds its bitmaps to the skin and writes the keys
// of the sections that use them; BuildSkin puts everything together in INI order.
#pragma once

#include "SkinModel.h"
#include "SkinPalette.h"

// Window borders, title bar, caption buttons, MDI buttons ([Personality], [Button...], [MDICONTROLS]).
void AddFrameElements(TSkin& skin, const TSkinPalette& palette);
// [Fonts], [Colours] and the custom colour list.
void AddColourSections(TSkin& skin, const TSkinPalette& palette);
// [Buttons] with the check and radio images, [ToolBars].
void AddButtonElements(TSkin& skin, const TSkinPalette& palette);
// Scroll bars and their thumbs, list-view headers.
void AddScrollElements(TSkin& skin, const TSkinPalette& palette);
// Combo boxes, edits' sunken edge, up-down buttons, [ExtraImages].
void AddFieldElements(TSkin& skin, const TSkinPalette& palette);
// [Tabs] with its page border, [Tab.Pane].
void AddTabElements(TSkin& skin, const TSkinPalette& palette);
// Progress bars, track bars and their thumbs.
void AddRangeElements(TSkin& skin, const TSkinPalette& palette);
// Menu items, popup background, the menu bar, status bars and group boxes.
void AddMenuAndPanelElements(TSkin& skin, const TSkinPalette& palette);

TSkin BuildSkin(const TSkinPalette& palette);
