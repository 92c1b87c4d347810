// Loading a skin while windows are skinned: the element records the painters draw from are
// freed and rebuilt by the parse, and a failed load is reported in a modal box while the windows
// keep receiving messages. Painters must have let go of the elements before they go and must
// not paint while the skin data is loading.
#include "WatchTestSupport.h"

#include "SkinMessage.h"
#include "SkinTestImages.h"
#include "WinHandle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace watchtest;
using skinformtest::ProgramSkinFile;
using skinformtest::SkinLeft;
using skinformtest::WindowSize;
using skintest::LetterOf;

namespace {

// A skin file cut off in the middle: refused before anything is parsed.
std::filesystem::path DamagedSkinFile(const char* name) {
    auto bytes = ProgramSkinFile();
    bytes.resize(bytes.size() / 2);
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

bool IsCurrentElement(const TSkinData& skin, const TDataSkinSysButton* element) {
    for (const auto& current : skin.Elements().SysButtons)
        if (current.get() == element)
            return true;
    return false;
}

// Buttons that refer to elements the skin data no longer has.
int StaleButtons(const TSkinData& skin, const TWinSkinForm& painter) {
    int stale = 0;
    for (const auto& button : painter.SysButtons())
        if (!IsCurrentElement(skin, &button->FElement))
            ++stale;
    return stale;
}

class SkinReload : public WatchTest {
protected:
    void SetUp() override {
        WatchTest::SetUp();
        FSkin = &AddMainSkin();
        FForm = ShownForm("reloaded");
        ASSERT_TRUE(WaitSkinned(FForm->Handle()));
        FPainter = Watcher().FindSkinForm(FForm->Handle());
        ASSERT_NE(nullptr, FPainter);
        ASSERT_FALSE(FPainter->SysButtons().empty());
        SetForegroundWindow(FForm->Handle());
        SendMessageW(FForm->Handle(), WM_NCACTIVATE, TRUE, 0);
    }
    void TearDown() override {
        FForm.reset();
        WatchTest::TearDown();
    }
    TSkinData* FSkin = nullptr;
    FormPtr FForm;
    TWinSkinForm* FPainter = nullptr;
};

TEST_F(SkinReload, AFailedReloadDropsTheCaptionButtonsBeforeTheElementsGo) {
    TSkinData& skin = *FSkin;
    const HWND wnd = FForm->Handle();
    TWinSkinForm* painter = FPainter;
    // A hot button is repainted when the mouse leaves it.
    TNCObject* first = painter->SysButtons().front().get();
    painter->SetHotObject(first);
    first->FState = TNCObject::stHot;

    const auto path = DamagedSkinFile("tw_watch_damaged_reload.skn");
    int boxes = 0;
    int staleInBox = -1;
    bool hotWasStale = false;
    {
        // The modal box: the windows are painted and hovered while it is open.
        TSkinMessageSinkScope box([&](const std::string&) {
            ++boxes;
            staleInBox = StaleButtons(skin, *painter);
            if (auto* hot = dynamic_cast<TWinSysButton*>(painter->HotObject()))
                hotWasStale = !IsCurrentElement(skin, &hot->FElement);
            SendMessageW(wnd, WM_NCPAINT, 1, 0);
            SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(-1000, -1000));
        });
        EXPECT_FALSE(skin.LoadReplacementSkin(path.string()));
    }
    std::filesystem::remove(path);
    ASSERT_EQ(1, boxes);
    EXPECT_EQ(0, staleInBox) << "caption buttons refer to freed elements while the box is open";
    EXPECT_FALSE(hotWasStale);

    // The skin that was there is back, and so are the buttons, built from its new elements.
    EXPECT_FALSE(skin.SkinLoading());
    SendMessageW(wnd, WM_NCPAINT, 1, 0);
    EXPECT_EQ(skin.Elements().SysButtons.size(), painter->SysButtons().size());
    EXPECT_EQ(0, StaleButtons(skin, *painter));
}

TEST_F(SkinReload, NothingIsPaintedFromTheSkinWhileItLoads) {
    TSkinData& skin = *FSkin;
    const HWND wnd = FForm->Handle();
    TWinSkinForm* painter = FPainter;
    const int middle = WindowSize(wnd).cy / 2;
    auto leftBorder = [&] {
        TWindowDC dc(wnd, true);
        return LetterOf(GetPixel(dc.Get(), 1, middle));
    };
    ASSERT_EQ('R', leftBorder());

    const auto path = DamagedSkinFile("tw_watch_damaged_load.skn");
    int boxes = 0;
    bool loadingInBox = false;
    char shownInBox = '?';
    {
        TSkinMessageSinkScope box([&](const std::string&) {
            ++boxes;
            loadingInBox = skin.SkinLoading();
            {
                TWindowDC dc(wnd, true);
                const RECT border{0, 0, SkinLeft, WindowSize(wnd).cy};
                FillRect(dc.Get(), &border, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            }
            SendMessageW(wnd, WM_NCPAINT, 1, 0);
            SendMessageW(wnd, WMS_REPAINTFRAME, 0, 0);
            painter->PaintFrame();
            shownInBox = leftBorder();
        });
        skin.AssignSkinFile(path.string());
    }
    std::filesystem::remove(path);
    ASSERT_EQ(1, boxes);
    EXPECT_TRUE(loadingInBox);
    EXPECT_EQ('W', shownInBox) << "the frame was painted from a skin that is loading";
}

} // namespace
