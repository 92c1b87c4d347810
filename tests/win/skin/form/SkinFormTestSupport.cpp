#include "SkinFormTestSupport.h"

#include "LzhEncoder.h"
#include "SkinPacker.h"
#include "SkinTestImages.h"

#include <fstream>
#include <iterator>

namespace skinformtest {

namespace {

using Rows = std::vector<std::string>;

// Frames side by side.
Rows Beside(const std::vector<Rows>& frames) {
    Rows out = frames.front();
    for (std::size_t f = 1; f < frames.size(); ++f)
        for (std::size_t y = 0; y < out.size(); ++y)
            out[y] += frames[f][y];
    return out;
}

// Frames stacked, first on top.
Rows Stacked(const std::vector<Rows>& frames) {
    Rows out;
    for (const Rows& frame : frames)
        out.insert(out.end(), frame.begin(), frame.end());
    return out;
}

Rows WithKeyCorner(Rows rows) {
    rows[0][0] = 'M';
    return rows;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

} // namespace

std::vector<std::uint8_t> SmallSkinFile(const TSmallSkinOptions& options) {
    using skintest::BmpFile;
    using skintest::Rows;
    const bool key = options.TransparentCorners;
    auto left = Beside({Rows(SkinLeft, 8, 'R'), Rows(SkinLeft, 8, 'B')});
    auto top = Stacked({Rows(16, SkinTop, 'Y'), Rows(16, SkinTop, 'P')});
    auto bottom = Stacked({Rows(16, SkinBottom, 'C'), Rows(16, SkinBottom, 'T')});
    if (key) {
        left = WithKeyCorner(left);
        top = WithKeyCorner(top);
    }
    if (options.OnlyBottomTransparent)
        bottom[0][0] = 'M';
    const bool bottomOnly = options.OnlyBottomTransparent;
    std::string ini = "[Personality]\r\n"
                      "Left=left.bmp\r\nLeftFrame=2\r\nLeftTopHeight=2\r\nLeftBotHeight=2\r\n"
                      "Right=right.bmp\r\nRightFrame=2\r\n"
                      "Top=top.bmp\r\nTopFrame=2\r\nTopTopHeight=2\r\nTopBotHeight=2\r\n"
                      "Bottom=bottom.bmp\r\nBottomFrame=2\r\n";
    const char* trans = (key && !bottomOnly) ? "1" : "0";
    ini += std::string("LeftTrans=") + trans + "\r\nRightTrans=0\r\nTopTrans=" + trans + "\r\n";
    ini += std::string("BottomTrans=") + (bottomOnly ? "1" : "0") + "\r\n";
    ini += "TextShift=" + std::to_string(options.TitleLeftWidth) + "\r\n";
    ini += "TextRightClip=" + std::to_string(options.TitleRightWidth) + "\r\n";
    if (options.MenuBar)
        ini += "menuBar=menubar.bmp\r\nTileMenu=0\r\nTileLeftMenu=2\r\nTileRightMenu=2\r\n";
    ini += "[Button1]\r\nButtonImage=close.bmp\r\nAction=0\r\nAlign=1\r\nXcoord=14\r\nYcoord=4\r\n"
           "Visibility=0\r\nVisibility1=0\r\nframe=3\r\n"
           "[Button2]\r\nButtonImage=max.bmp\r\nAction=1\r\nAlign=1\r\nXcoord=28\r\nYcoord=4\r\n"
           "Visibility=6\r\nVisibility1=0\r\nframe=1\r\n"
           "[Button3]\r\nButtonImage=restore.bmp\r\nAction=1\r\nAlign=1\r\nXcoord=28\r\nYcoord=4\r\n"
           "Visibility=1\r\nVisibility1=0\r\nframe=1\r\n"
           "[Button4]\r\nAction=3\r\nAlign=0\r\nXcoord=4\r\nYcoord=4\r\nVisibility=0\r\nVisibility1=0\r\n"
           "[Colours]\r\nButtonFace=10 20 30\r\n";
    if (options.Edits)
        ini += "ButtonShadow=70 20 90\r\n";
    std::vector<TSkinPackEntry> extra;
    if (options.MenuBar) {
        ini += "MenuBarText=255 255 255\r\n";
        extra.push_back({"menubar.bmp", BmpFile(Stacked({Rows(12, 10, 'L'), Rows(12, 10, 'A')}))});
    }
    if (options.Buttons) {
        ini += "[Buttons]\r\nBitmap=buttons.bmp\r\nTrans=0\r\nTile=0\r\n";
        extra.push_back({"buttons.bmp", BmpFile(Beside({Rows(8, 8, 'R'), Rows(8, 8, 'G'), Rows(8, 8, 'B'),
                                                        Rows(8, 8, 'Y'), Rows(8, 8, 'C')}))});
        auto marks = [](int count) {
            std::vector<std::vector<std::string>> frames;
            for (int i = 0; i < count; ++i)
                frames.push_back(Rows(6, 6, "KWRGBYCOPNTL"[i % 12]));
            return BmpFile(Beside(frames));
        };
        if (options.CheckFrames > 0) {
            ini +=
                "CheckButton=check.bmp\r\nCheckButtonFrame=" + std::to_string(options.CheckFrames) + "\r\n";
            extra.push_back({"check.bmp", marks(options.CheckFrames)});
        }
        if (options.RadioFrames > 0) {
            ini +=
                "RadioButton=radio.bmp\r\nRadioButtonFrame=" + std::to_string(options.RadioFrames) + "\r\n";
            extra.push_back({"radio.bmp", marks(options.RadioFrames)});
        }
    }
    if (options.Bars) {
        ini += "[StatusBarEdges]\r\nImage=edges.bmp\r\nLeftWidth=1\r\nTopHeight=1\r\nRightWidth=1\r\n"
               "BottomHeight=1\r\nNormalColour2=255 255 255\r\n"
               "[ExtraImages]\r\nImage=extra.bmp\r\nTrans=1\r\n"
               "[Progress]\r\nBitmap=progress.bmp\r\nLeftWidth=1\r\nTopHeight=1\r\nRightWidth=1\r\n"
               "BottomHeight=1\r\nStyle=" +
               std::to_string(options.ProgressStyle) +
               "\r\n"
               "[Progress.Chunk]\r\nImage=chunk.bmp\r\nTile=1\r\n"
               "[Track]\r\nImage=track.bmp\r\nLeftWidth=1\r\nRightWidth=1\r\n"
               "[TRACKVERT]\r\nImage=trackv.bmp\r\nTopHeight=1\r\nBottomHeight=1\r\n"
               "[Trackbar.ThumbHorz]\r\nImage=thumbh.bmp\r\n"
               "[Trackbar.ThumbVert]\r\nImage=thumbv.bmp\r\n";
        const auto progress =
            options.ProgressStyle == 1 ? Rows(6, 4, 'S') : Beside({Rows(6, 4, 'S'), Rows(6, 4, 'G')});
        extra.push_back({"edges.bmp", BmpFile(Beside({Rows(6, 6, 'N'), Rows(6, 6, 'P'), Rows(6, 6, 'T')}))});
        extra.push_back({"extra.bmp", BmpFile(Beside({Rows(7, 7, 'K'), Rows(7, 7, 'K'), Rows(7, 7, 'K'),
                                                      Rows(7, 7, 'K'), Rows(7, 7, 'O')}))});
        extra.push_back({"progress.bmp", BmpFile(progress)});
        extra.push_back({"chunk.bmp", BmpFile(Rows(3, 4, 'Y'))});
        extra.push_back({"track.bmp", BmpFile(Rows(8, 2, 'A'))});
        extra.push_back({"trackv.bmp", BmpFile(Rows(2, 8, 'A'))});
        extra.push_back({"thumbh.bmp", BmpFile(Beside({Rows(4, 8, 'R'), Rows(4, 8, 'G'), Rows(4, 8, 'B'),
                                                       Rows(4, 8, 'Y'), Rows(4, 8, 'C')}))});
        extra.push_back({"thumbv.bmp", BmpFile(Beside({Rows(8, 4, 'W'), Rows(8, 4, 'L'), Rows(8, 4, 'W'),
                                                       Rows(8, 4, 'W'), Rows(8, 4, 'W')}))});
    }
    if (options.Menus) {
        ini += "[MenuItem]\r\nImage=menuitem.bmp\r\nLeftWidth=1\r\nTopHeight=1\r\nRightWidth=1\r\n"
               "BottomHeight=1\r\nTrans=0\r\nTile=0\r\nFrame=5\r\n"
               "[MenuBackground]\r\nImage=" +
               std::string(options.MenuBack == TSmallSkinOptions::TMenuBack::Missing ? "nothing.bmp"
                                                                                     : "menuback.bmp") +
               "\r\nTrans=0\r\nTile=0\r\n";
        if (options.MenuBack == TSmallSkinOptions::TMenuBack::Framed)
            ini += "LeftWidth=5\r\nTopHeight=5\r\nRightWidth=5\r\nBottomHeight=5\r\n";
        auto separator = Rows(6, 3, 'G');
        const auto bottomRows = Rows(6, 3, 'B');
        separator.insert(separator.end(), bottomRows.begin(), bottomRows.end());
        extra.push_back({"menuitem.bmp", BmpFile(Beside({Rows(6, 6, 'R'), separator, Rows(6, 6, 'S'),
                                                         Rows(6, 6, 'Y'), Rows(6, 6, 'C')}))});
        auto back = Rows(4, 4, 'O');
        if (options.MenuBack == TSmallSkinOptions::TMenuBack::Framed) {
            back = Rows(12, 12, 'N');
            for (int y = 5; y < 7; ++y)
                back[static_cast<std::size_t>(y)].replace(5, 2, "TT");
        }
        extra.push_back({"menuback.bmp", BmpFile(back)});
    }
    if (options.Tabs) {
        auto halves = [](int width, int height, char top, char bottom) {
            return Stacked({Rows(width, height / 2, top), Rows(width, height - height / 2, bottom)});
        };
        ini += "[Tabs]\r\nImage=tabs.bmp\r\nBorder=border.bmp\r\nStyle=" + std::to_string(options.TabsStyle) +
               "\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\nTrans=0\r\nTile=1\r\n"
               "NormalColour2=255 255 255\r\nMouseOverColour2=255 255 0\r\n"
               "[Tab.Pane]\r\nImage=pane.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\nBottomHeight="
               "3\r\n";
        extra.push_back(
            {"tabs.bmp", BmpFile(Beside({halves(10, 8, 'N', 'T'), halves(10, 8, 'O', 'P'), Rows(10, 8, 'K'),
                                         Rows(10, 8, 'K'), Rows(10, 8, 'K')}))});
        extra.push_back({"border.bmp", BmpFile(halves(12, 12, 'L', 'S'))});
        extra.push_back({"pane.bmp", BmpFile(halves(12, 12, 'W', 'A'))});
    }
    if (options.Header) {
        auto frame = [](char border, char even, char odd) {
            auto rows = Rows(12, 10, border);
            for (int y = 3; y < 7; ++y)
                for (int x = 3; x < 9; ++x)
                    rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = x % 2 ? odd : even;
            return rows;
        };
        ini += "[Headerbar]\r\nImage=header.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\n"
               "BottomHeight=3\r\nTrans=0\r\nTile=1\r\nFrame=3\r\nNormalColour2=255 255 255\r\n"
               "MouseOverColour2=255 255 0\r\n";
        extra.push_back({"header.bmp", BmpFile(Beside({frame('N', 'S', 'A'), frame('O', 'L', 'P'),
                                                       frame('K', 'K', 'K')}))});
    }
    if (options.Scrolls) {
        // Frames 1-4, 5-8, 9-12, 13-16: normal, pressed, unused, hot; 17-19, 20-22: grips.
        const std::string strip = "RGKYRGKYNGKYPGKYOGYOGYK";
        std::vector<std::vector<std::string>> frames;
        for (char letter : strip)
            frames.push_back(Rows(6, 10, letter));
        ini += "[Scrollbar]\r\nImage=scroll.bmp\r\nTrans=0\r\n"
               "[HorzScroll]\r\nImage=strack.bmp\r\nTile=1\r\n"
               "[VertScroll]\r\nImage=strack.bmp\r\nTile=1\r\n"
               "[HorzScrollThumb]\r\nImage=sthumb.bmp\r\n"
               "[VertScrollThumb]\r\nImage=sthumb.bmp\r\n";
        extra.push_back({"scroll.bmp", BmpFile(Beside(frames))});
        extra.push_back({"strack.bmp", BmpFile(Beside({Rows(6, 6, 'C'), Rows(6, 6, 'K'), Rows(6, 6, 'S'),
                                                       Rows(6, 6, 'K')}))});
        extra.push_back({"sthumb.bmp", BmpFile(Beside({Rows(6, 6, 'W'), Rows(6, 6, 'L'), Rows(6, 6, 'T')}))});
    }
    if (options.Edits) {
        ini += "[ComboButton]\r\nImage=combo.bmp\r\nTrans=1\r\nStyle=" + std::to_string(options.ComboStyle) +
               "\r\n"
               "[UpDown.Vert]\r\nImage=udv.bmp\r\nGlyphImage=glyph.bmp\r\nTrans=1\r\n"
               "[UpDown.Horz]\r\nImage=udh.bmp\r\nGlyphImage=glyph.bmp\r\nTrans=1\r\n";
        auto strip = [](const std::string& letters, int w, int h) {
            std::vector<std::vector<std::string>> frames;
            for (char letter : letters)
                frames.push_back(Rows(w, h, letter));
            return BmpFile(Beside(frames));
        };
        extra.push_back({"combo.bmp", strip("RGBY", 9, 15)});
        extra.push_back({"udv.bmp", strip("CKSLOPNT", 6, 5)});
        extra.push_back({"udh.bmp", strip("RGBYYRGB", 5, 6)});
        extra.push_back({"glyph.bmp", strip("AAAAAAAA", 2, 2)});
        if (!options.Bars) {
            ini += "[ExtraImages]\r\nImage=extra.bmp\r\nTrans=1\r\n";
            extra.push_back({"extra.bmp", strip("KKKKO", 5, 5)});
        }
    }
    std::vector<TSkinPackEntry> entries{
        {"left.bmp", BmpFile(left)},
        {"right.bmp", BmpFile(Beside({Rows(SkinRight, 8, 'G'), Rows(SkinRight, 8, 'N')}))},
        {"top.bmp", BmpFile(top)},
        {"bottom.bmp", BmpFile(bottom)},
        {"close.bmp", BmpFile(Beside({Rows(10, 10, 'O'), Rows(10, 10, 'K'), Rows(10, 10, 'W')}))},
        {"max.bmp", BmpFile(Rows(10, 10, 'S'))},
        {"restore.bmp", BmpFile(Rows(10, 10, 'A'))},
        {"skin.ini", Bytes(ini)},
    };
    entries.insert(entries.end(), extra.begin(), extra.end());
    return LzhEncode(BuildSkinPackage(entries));
}

std::vector<std::uint8_t> ProgramSkinFile() {
    std::ifstream in(TW_SKIN_PACKAGE, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::unique_ptr<TSkinData, TObjectDeleter> LoadedSkin(const std::vector<std::uint8_t>& file) {
    std::unique_ptr<TSkinData, TObjectDeleter> skin(new TSkinData(nullptr));
    skin->SkinFileStream().Write(file.data(), static_cast<std::int64_t>(file.size()));
    skin->LoadSkinFromStream();
    return skin;
}

bool ChangeSkin(TSkinData& skin, TWinSkinForm& form, const std::vector<std::uint8_t>& file) {
    skin.SkinFileStream().Clear();
    skin.SkinFileStream().Write(file.data(), static_cast<std::int64_t>(file.size()));
    if (!skin.LoadSkinFromStream())
        return false;
    form.FreeSysButtons();
    form.BuildFrame();
    form.RefreshSkin();
    return true;
}

// ---- test windows ----------------------------------------------------------------------------

namespace {
constexpr const char* TestClassName = "TwSkinFormTestWindow";
constexpr const char* TestWindowProp = "TwSkinFormTestWindow";
} // namespace

LRESULT CALLBACK TestWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetPropA(wnd, TestWindowProp, create->lpCreateParams);
    }
    if (TTestWindow* window = TTestWindow::Of(wnd)) {
        ++window->FCounts[msg];
        if (window->Filter && window->Filter(msg, wParam, lParam))
            return 0;
    }
    if (msg == WM_NCDESTROY)
        RemovePropA(wnd, TestWindowProp);
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

TTestWindow* TTestWindow::Of(HWND wnd) {
    return static_cast<TTestWindow*>(GetPropA(wnd, TestWindowProp));
}

TTestWindow::TTestWindow(DWORD style, DWORD exStyle, int width, int height, const char* className,
                         const wchar_t* text) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = TestWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"TwSkinFormTestWindow";
        return RegisterClassW(&wc);
    }();
    (void)atom;
    std::wstring cls = L"TwSkinFormTestWindow";
    if (className) {
        // Another class name with the same procedure, for tests that depend on the class.
        cls.assign(className, className + std::char_traits<char>::length(className));
        WNDCLASSW wc{};
        if (!GetClassInfoW(GetModuleHandleW(nullptr), cls.c_str(), &wc)) {
            wc.lpfnWndProc = TestWindowProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = cls.c_str();
            RegisterClassW(&wc);
        }
    }
    FHandle = CreateWindowExW(exStyle, cls.c_str(), text, style, 40, 40, width, height, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    (void)TestClassName;
}

TTestWindow::~TTestWindow() {
    if (IsWindow(FHandle))
        DestroyWindow(FHandle);
    PumpPending();
}

int TTestWindow::Count(UINT message) const {
    const auto it = FCounts.find(message);
    return it == FCounts.end() ? 0 : it->second;
}

void TTestWindow::ResetCounts() {
    FCounts.clear();
}

std::unique_ptr<TWinSkinForm, TObjectDeleter> SkinWindow(HWND wnd, TSkinData& skin) {
    std::unique_ptr<TWinSkinForm, TObjectDeleter> form(new TWinSkinForm(nullptr));
    form->SetHandle(wnd);
    char name[101] = {};
    GetClassNameA(wnd, name, sizeof name);
    form->SetWindowClass(name);
    form->AttachHandle(skin);
    SendMessageA(wnd, WMS_SKINSTART, 0, 1000);
    PumpPending();
    return form;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > static_cast<DWORD>(timeoutMs))
            return done();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!done())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

SIZE ClientSize(HWND wnd) {
    RECT r{};
    GetClientRect(wnd, &r);
    return SIZE{r.right, r.bottom};
}

SIZE WindowSize(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

} // namespace skinformtest
