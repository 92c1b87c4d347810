// Shared by the form painter's tests: a small skin whose every part has its own colour, test
// windows whose original window procedure records what reaches it, and message pumping with
// a deadline.
#pragma once

#include "WinSkinDataComponent.h"
#include "WinSkinForm.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

namespace skinformtest {

// Frame sizes of the small skin.
inline constexpr int SkinLeft = 4;
inline constexpr int SkinRight = 5;
inline constexpr int SkinTop = 24;
inline constexpr int SkinBottom = 3;

// Colour letters (see SkinTestImages.h) of the small skin's parts, frame 1 (active) and 2.
// Left R/B, right G/N, top Y/P, bottom C/T; caption buttons 10 x 10: close (Action 0, at
// right - 14) O normal, K pressed, W hot; maximize (Visibility 6, at right - 28) S; restore
// (Visibility 1, same place) A; the icon button (Action 3) at (4, 4).
struct TSmallSkinOptions {
    bool TransparentCorners = false; // magenta top-left pixel of the left and top images
    bool OnlyBottomTransparent = false;
    int TitleLeftWidth = 0;  // TextShift
    int TitleRightWidth = 0; // TextRightClip
    // A [Buttons] element: 5 frames of 8 x 8, R G B Y C (normal, pressed, disabled, hot,
    // focused), no margins, no transparency.
    bool Buttons = false;
    // With Buttons: check and radio images of that many 6 x 6 frames (0: none), the frames
    // lettered K W R G B Y C O P N T L in turn.
    int CheckFrames = 0;
    int RadioFrames = 0;
    // The bar elements, sizes and frame counts unlike the program's skin:
    // [StatusBarEdges] 3 frames of 6 x 6 (margins 1): N lowered, P raised, T none; text white.
    // [ExtraImages] 5 frames of 7 x 7, the fifth (the size grip) O, the others K.
    // [Progress] 2 frames of 6 x 4 (margins 1): S track, G filled; with ProgressStyle 1 one
    // frame S and [Progress.Chunk] 3 x 4 Y, tiled.
    // [Track] 8 x 2 and [TRACKVERT] 2 x 8 A (ends 1); [Trackbar.ThumbHorz] 5 frames of 4 x 8
    // R G B Y C; [Trackbar.ThumbVert] 5 frames of 8 x 4 W L W W W.
    bool Bars = false;
    int ProgressStyle = 0;
    // Menu elements unlike the program's: [MenuItem] 5 frames of 6 x 6 (margins 1, opaque):
    // R normal, frame 2 (separator) G top three rows and B bottom three, S, Y selected, C;
    // [MenuBackground] 4 x 4 O with no margins.
    bool Menus = false;
    // With Menus, the [MenuBackground] instead: 12 x 12 with a 5-pixel N frame around T
    // (margins 5), or an image name the package lacks (an empty image).
    enum class TMenuBack { Plain, Framed, Missing };
    TMenuBack MenuBack = TMenuBack::Plain;
    // [Tabs]: 5 frames of 10 x 8 (margins 2, tiled, opaque), each a top half over a bottom
    // half: N over T (normal), O over P (chosen), K; texts white and yellow. Its border image
    // 12 x 12 is L over S (six rows each); with TabsStyle 1 the page frame is [Tab.Pane]
    // instead, 12 x 12 W over A with margins 3.
    bool Tabs = false;
    int TabsStyle = 0;
    // [Headerbar]: 3 frames of 12 x 10 (margins 3, tiled, opaque), each a border around
    // columns of two letters in turn: N around S A (normal), O around L P (hot), K around K;
    // text white, hot text yellow.
    bool Header = false;
    // A menu bar image of two stacked 12 x 10 frames, L (active) over A (inactive), caps of 2
    // repeated middle; captions white.
    bool MenuBar = false;
    // The scroll-bar elements: [Scrollbar] 23 frames of 6 x 10 (arrows R left, R right, N up,
    // P down, pressed G, hot Y; grips O, pressed G, hot Y; the rest K); [HorzScroll] and
    // [VertScroll] 4 frames of 6 x 6 C normal, S disabled (K between), tiled;
    // [HorzScrollThumb] and [VertScrollThumb] 3 frames of 6 x 6 W normal, L pressed, T hot.
    bool Scrolls = false;
    // The edit elements: [ComboButton] 4 frames of 9 x 15 R G B Y (normal, pressed, disabled,
    // hot; transparent, no [SunkEdge], so drawn from its parts; ComboStyle 1 the flat box),
    // [UpDown.Vert] 8 frames of 6 x 5 C K S L O P N T and [UpDown.Horz] 8 frames of 5 x 6
    // R G B Y Y R G B, both with 2 x 2 A glyphs; without Bars an [ExtraImages] of 5 frames of
    // 5 x 5, the fifth O, the others K; the button shadow 70 20 90.
    bool Edits = false;
    int ComboStyle = 0;
};
std::vector<std::uint8_t> SmallSkinFile(const TSmallSkinOptions& options = {});
// skins/default.skn as checked in.
std::vector<std::uint8_t> ProgramSkinFile();

// A skin data component holding a parsed skin.
std::unique_ptr<TSkinData, TObjectDeleter> LoadedSkin(const std::vector<std::uint8_t>& file);
// Parses another skin file into the component and re-applies it to a painter the way the
// watcher does; false when the file was refused.
bool ChangeSkin(TSkinData& skin, TWinSkinForm& form, const std::vector<std::uint8_t>& file);

// A top-level test window whose class procedure counts every message it receives.
class TTestWindow {
public:
    TTestWindow(DWORD style, DWORD exStyle, int width, int height, const char* className = nullptr,
                const wchar_t* text = L"");
    ~TTestWindow();
    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;

    HWND Handle() const { return FHandle; }
    int Count(UINT message) const;
    void ResetCounts();
    // Runs for every message the original procedure receives; true: consumed with result 0.
    std::function<bool(UINT, WPARAM, LPARAM)> Filter;

    static TTestWindow* Of(HWND wnd);

private:
    friend LRESULT CALLBACK TestWindowProc(HWND, UINT, WPARAM, LPARAM);
    HWND FHandle = nullptr;
    std::map<UINT, int> FCounts;
};

// Creates a form painter for the window, attaches it and runs its start message.
std::unique_ptr<TWinSkinForm, TObjectDeleter> SkinWindow(HWND wnd, TSkinData& skin);

// Pumps messages until done() or the deadline (ms); returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
void PumpPending();

SIZE ClientSize(HWND wnd);
SIZE WindowSize(HWND wnd);

} // namespace skinformtest
