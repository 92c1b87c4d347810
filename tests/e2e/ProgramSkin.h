// The program's stored skin as the e2e tests compare the screen with it: parsed here as the
// program parses it, its button faces composed as the painters compose them, and pixels read
// back from the screen (another process's child windows cannot be read through their DC).
#pragma once

#include "WinSkinDataComponent.h"

#include <memory>
#include <optional>
#include <vector>

#include <windows.h>

namespace e2e {

class ProgramSkin {
public:
    ProgramSkin();
    const TSkinElements& Elements() const { return FSkin->Elements(); }
    // The title image's colour in its second row, middle column, of a frame (1 active, 2
    // inactive): what a stretched title bar shows in that row away from its ends and text.
    COLORREF TitleColour(int frame) const;

private:
    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
};

// The [Buttons] faces of a face rectangle's size, and a point where the frames asked for all
// differ and none is transparent (none when the skin's frames look alike there).
class ButtonFaces {
public:
    ButtonFaces(const ProgramSkin& skin, SIZE face, const std::vector<int>& frames);
    const std::optional<POINT>& Spot() const { return FSpot; }
    COLORREF Colour(int frame) const;

private:
    std::vector<int> FFrames;
    std::vector<COLORREF> FColours;
    std::optional<POINT> FSpot;
};

// Where a radio mark of the skin shows its frame's colour (a point of its middle row that is
// not transparent in either frame) and the colours of the two frames there.
struct RadioMarkSpot {
    POINT At{};  // inside the mark
    SIZE Mark{}; // one frame's size
    COLORREF Unchecked = CLR_INVALID;
    COLORREF Checked = CLR_INVALID;
};
std::optional<RadioMarkSpot> RadioSpot(const ProgramSkin& skin, int uncheckedFrame, int checkedFrame);

COLORREF ScreenPixel(HWND wnd, POINT clientPoint);

} // namespace e2e
