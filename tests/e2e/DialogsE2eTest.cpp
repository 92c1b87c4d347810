// The three dialogs of the real program, driven as a user would: the startup list filled from
// run-key entries this test writes (and removes again), deletion of the selected entry; the
// immunizer on a folder of the test's own given as the drive; the About box.
#include "ProgramSkin.h"
#include "ProgramTest.h"
#include "SkinDraw.h"
#include "TestDrives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

using namespace std::chrono_literals;

namespace {

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Values the test writes under a key of HKEY_CURRENT_USER, removed again when it ends.
class RunValues {
public:
    explicit RunValues(std::string key) : FKey(std::move(key)) {}
    RunValues(const RunValues&) = delete;
    RunValues& operator=(const RunValues&) = delete;
    ~RunValues() {
        for (const std::string& name : FNames)
            Delete(name);
    }
    void Set(const std::string& name, const std::string& command) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, FKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
        FNames.push_back(name);
    }
    bool Has(const std::string& name) const {
        return RegGetValueA(HKEY_CURRENT_USER, FKey.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
    }
    void Delete(const std::string& name) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, FKey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
    }

private:
    std::string FKey;
    std::vector<std::string> FNames;
};

// A dialog button's skinned face as the screen shows it: which of the frames it wears.
class ButtonFaceProbe {
public:
    ButtonFaceProbe(const e2e::ProgramSkin& skin, HWND button)
        : FButton(button), FFaces(skin, ClientSize(button), {1, 5, 4, 2}) {}
    bool Usable() const { return FFaces.Spot().has_value(); }
    // Waits until the button wears one of the frames. While the pointer is meant to be over the
    // button its move is repeated: the real pointer may be elsewhere (another process cannot
    // always move it), and its leaving would end the hot state first.
    bool Shows(std::initializer_list<int> frames) const {
        return e2e::WaitUntil(
            [&] {
                if (FHovering)
                    PostMessageA(FButton, WM_MOUSEMOVE, FPressed ? MK_LBUTTON : 0, Where());
                const COLORREF shown = e2e::ScreenPixel(FButton, *FFaces.Spot());
                return std::any_of(frames.begin(), frames.end(),
                                   [&](int f) { return FFaces.Colour(f) == shown; });
            },
            10s);
    }
    // The pointer over the button, as the system reports it.
    void Hover() {
        POINT centre = Centre();
        const LPARAM where = MAKELPARAM(centre.x, centre.y);
        ClientToScreen(FButton, &centre);
        SetCursorPos(centre.x, centre.y);
        PostMessageA(FButton, WM_MOUSEMOVE, 0, where);
        FHovering = true;
    }
    void Press() {
        PostMessageA(FButton, WM_LBUTTONDOWN, MK_LBUTTON, Where());
        FPressed = true;
    }
    void Release() {
        FHovering = FPressed = false;
        PostMessageA(FButton, WM_LBUTTONUP, 0, Where());
    }
    void Leave() {
        FHovering = false;
        PostMessageA(FButton, WM_MOUSELEAVE, 0, 0);
    }
    void SpaceDown() const { PostMessageA(FButton, WM_KEYDOWN, VK_SPACE, 0x00390001); }
    void SpaceUp() const { PostMessageA(FButton, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u)); }

private:
    static SIZE ClientSize(HWND wnd) {
        RECT r{};
        GetClientRect(wnd, &r);
        return SIZE{r.right, r.bottom};
    }
    POINT Centre() const {
        const SIZE size = ClientSize(FButton);
        return POINT{size.cx / 2, size.cy / 2};
    }
    LPARAM Where() const {
        const POINT centre = Centre();
        return MAKELPARAM(centre.x, centre.y);
    }
    HWND FButton;
    e2e::ButtonFaces FFaces;
    bool FHovering = false;
    bool FPressed = false;
};

// A combo box's skinned frame as the screen shows it: the middle of its top edge wears the frame
// of the box's state (1 at rest, 4 focused or with the mouse on the button) of the skin's combo
// picture (the program's skin composes frame and button into [ComboButton]).
class ComboProbe {
public:
    ComboProbe(const e2e::ProgramSkin& skin, HWND box) : FBox(box) {
        RECT r{};
        GetWindowRect(box, &r);
        const int width = r.right - r.left, height = r.bottom - r.top;
        const int a = GetSystemMetrics(SM_CXHSCROLL);
        FEdgeAt = POINT{width / 2, 0};
        FButtonAt = POINT{width - a / 2 - 2, height / 2};
        const TDataSkinObject* edge = skin.Elements().ComboButton.get();
        if (!edge || edge->Bitmap.Empty() || edge->Frame < 4)
            return;
        TCanvas* pixels = const_cast<TBitmap&>(edge->Bitmap).Canvas();
        const int frameWidth = edge->Bitmap.Width() / edge->Frame;
        FEdge[0] = static_cast<COLORREF>(pixels->Pixels(frameWidth / 2, 0));
        FEdge[1] = static_cast<COLORREF>(pixels->Pixels(3 * frameWidth + frameWidth / 2, 0));
    }
    bool Usable() const { return FEdge[0] != FEdge[1]; }
    // The frame of the state, and the button's look at rest (remembered) or not. While hot is
    // waited for the move is repeated: the real pointer may be elsewhere (another process
    // cannot always move it), and its leaving would end the hot state first.
    bool ShowsHot(bool hot) {
        auto shows = [&] {
            if (hot)
                PostMessageA(FBox, WM_MOUSEMOVE, 0, MAKELPARAM(FButtonAt.x, FButtonAt.y));
            const COLORREF button = e2e::ScreenPixel(FBox, POINT{FButtonAt.x, 3});
            return e2e::ScreenPixel(FBox, FEdgeAt) == FEdge[hot ? 1 : 0] &&
                   (FResting == CLR_INVALID || (button == FResting) != hot);
        };
        const bool shown = e2e::WaitUntil(shows, 10s);
        if (!hot && shown && FResting == CLR_INVALID)
            FResting = e2e::ScreenPixel(FBox, POINT{FButtonAt.x, 3});
        return shown;
    }
    void Hover() const {
        POINT at = FButtonAt;
        ClientToScreen(FBox, &at);
        SetCursorPos(at.x, at.y);
        PostMessageA(FBox, WM_MOUSEMOVE, 0, MAKELPARAM(FButtonAt.x, FButtonAt.y));
    }
    void Click() const { e2e::ClickClient(FBox, FButtonAt); }

private:
    HWND FBox;
    POINT FEdgeAt{}, FButtonAt{};
    COLORREF FEdge[2]{CLR_INVALID, CLR_INVALID};
    COLORREF FResting = CLR_INVALID;
};

using Rows = std::vector<std::vector<std::string>>;

int RowOf(const Rows& rows, const std::string& name) {
    const auto it =
        std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.at(0) == name; });
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

std::string WindowsFolder() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

class SystemEditE2eTest : public e2e::ProgramTest {
protected:
    void OpenDialog() {
        dialog_ = OpenFromToolbar(3, "Tsystemedit");
        ASSERT_NE(dialog_, nullptr);
        list_ = e2e::FindDescendant(dialog_, "TListView");
        ASSERT_NE(list_, nullptr);
        remove_ = e2e::FindDescendantByText(dialog_, "删除");
        ASSERT_NE(remove_, nullptr);
    }
    Rows ReadRows() const { return e2e::ListViewRows(list_, 2); }

    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
    HWND remove_ = nullptr;
};

TEST_F(SystemEditE2eTest, ListShowsTheRunEntriesAndDeletesOnlyTheSelectedOne) {
    const std::string present = "\"" + WindowsFolder() + "\\system32\\cmd.exe\" /c rem";
    RunValues run(kRun);
    RunValues parked(kRun + "-");
    run.Set("tw-e2e-present", present);
    run.Set("tw-e2e-missing", "C:\\tw-e2e-nowhere\\app.exe -min");
    parked.Set("tw-e2e-parked", "C:\\tw-e2e-nowhere\\parked.exe");
    Start();
    OpenDialog();

    const Rows rows = ReadRows();
    const int presentRow = RowOf(rows, "tw-e2e-present");
    const int missingRow = RowOf(rows, "tw-e2e-missing");
    const int parkedRow = RowOf(rows, "tw-e2e-parked");
    ASSERT_GE(presentRow, 0);
    ASSERT_GE(missingRow, 0);
    ASSERT_GE(parkedRow, 0);
    EXPECT_EQ(rows[presentRow], (std::vector<std::string>{"tw-e2e-present", present, "是"}));
    EXPECT_EQ(rows[missingRow],
              (std::vector<std::string>{"tw-e2e-missing", "C:\\tw-e2e-nowhere\\app.exe -min", "否"}));
    EXPECT_EQ(rows[parkedRow],
              (std::vector<std::string>{"tw-e2e-parked", "C:\\tw-e2e-nowhere\\parked.exe", "否"}));
    EXPECT_LT(std::max(presentRow, missingRow), parkedRow) << "the \"-\" key's entries follow the key's own";
    EXPECT_EQ(e2e::ListViewItemImage(list_, missingRow), 3) << "a missing program shows the system's icon 3";

    // Nothing selected: "删除" leaves every row and value alone.
    ASSERT_TRUE(e2e::ListViewClearSelection(list_));
    ASSERT_EQ(e2e::ListViewSelectedCount(list_), 0);
    ASSERT_TRUE(e2e::PressButtonAndWait(remove_, 30s)) << "the press opened a window or was not handled";
    EXPECT_EQ(ReadRows(), rows);
    EXPECT_TRUE(run.Has("tw-e2e-present") && run.Has("tw-e2e-missing") && parked.Has("tw-e2e-parked"));

    // The selected row of the "-" key goes, with its value there and nowhere else.
    ASSERT_TRUE(e2e::ListViewSelect(list_, parkedRow));
    ASSERT_TRUE(e2e::PressButton(remove_));
    ASSERT_TRUE(e2e::WaitUntil([&] { return ReadRows().size() == rows.size() - 1; }, 30s))
        << "the row was not removed";
    const Rows after = ReadRows();
    EXPECT_EQ(RowOf(after, "tw-e2e-parked"), -1);
    EXPECT_GE(RowOf(after, "tw-e2e-present"), 0);
    EXPECT_FALSE(parked.Has("tw-e2e-parked"));
    EXPECT_TRUE(run.Has("tw-e2e-present") && run.Has("tw-e2e-missing"));
}

TEST_F(SystemEditE2eTest, ColumnHeadersAreBackAfterLoading) {
    Start();
    OpenDialog();
    EXPECT_TRUE(e2e::ListViewHeaderShown(list_)) << "the list's column headers stayed hidden";
    EXPECT_EQ(e2e::ListViewHeaderCaptions(list_), (std::vector<std::string>{"项目名称", "路径", "是否存在"}));
}

TEST_F(SystemEditE2eTest, AnEntryAlreadyGoneLosesItsRowAndTheUserIsTold) {
    RunValues run(kRun);
    run.Set("tw-e2e-vanishing", "C:\\tw-e2e-nowhere\\gone.exe");
    Start();
    OpenDialog();
    const Rows rows = ReadRows();
    const int row = RowOf(rows, "tw-e2e-vanishing");
    ASSERT_GE(row, 0);

    run.Delete("tw-e2e-vanishing"); // behind the program's back
    ASSERT_TRUE(e2e::ListViewSelect(list_, row));
    ASSERT_TRUE(e2e::PressButton(remove_));
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the user was not told that nothing was deleted";
    EXPECT_EQ(e2e::WindowCaption(box), "Quellmoor系统优化大师");
    EXPECT_NE(e2e::MessageBoxText(box).find("tw-e2e-vanishing"), std::string::npos)
        << e2e::MessageBoxText(box);
    EXPECT_NE(e2e::MessageBoxText(box).find("已经不存在"), std::string::npos) << e2e::MessageBoxText(box);
    ASSERT_TRUE(CloseMessageBox(box));
    Rows expected = rows;
    expected.erase(expected.begin() + row);
    EXPECT_EQ(ReadRows(), expected) << "the row of an entry that is gone must go";
}

TEST_F(SystemEditE2eTest, DeleteWearsTheSkinsFacesIgnoresAPressTheMouseLeftAndDeletesByKeyboard) {
    RunValues run(kRun);
    run.Set("tw-e2e-keyboard", "C:\\tw-e2e-nowhere\\keyboard.exe");
    Start();
    OpenDialog();
    const e2e::ProgramSkin skin;
    ButtonFaceProbe remove(skin, remove_);
    ASSERT_TRUE(remove.Usable()) << "the skin's button frames look alike";
    const Rows rows = ReadRows();
    const int row = RowOf(rows, "tw-e2e-keyboard");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(e2e::ListViewSelect(list_, row));
    EXPECT_TRUE(remove.Shows({1, 5}));
    remove.Hover();
    EXPECT_TRUE(remove.Shows({4}));
    remove.Press();
    EXPECT_TRUE(remove.Shows({2}));
    remove.Leave();
    EXPECT_TRUE(remove.Shows({1, 5}));
    remove.Release();
    remove.SpaceDown();
    EXPECT_TRUE(remove.Shows({2})) << "the space bar presses the button";
    // The release was handled before the key: it deleted nothing.
    EXPECT_TRUE(run.Has("tw-e2e-keyboard")) << "a press whose pointer left must not delete";
    remove.SpaceUp();
    ASSERT_TRUE(e2e::WaitUntil([&] { return ReadRows().size() == rows.size() - 1; }, 30s))
        << "the key press did not delete";
    EXPECT_FALSE(run.Has("tw-e2e-keyboard"));
}

// The immunizer dialog with a drive letter of the test's own, mapped to a folder, typed in as
// the drive.
class UpanE2eTest : public e2e::ProgramTest {
protected:
    void SetUp() override {
        const std::vector<char> letters = twtest::FreeLetters(2);
        ASSERT_EQ(letters.size(), 2u);
        drive_ = std::make_unique<twtest::MappedDrive>(letters[0], DRIVE_REMOVABLE, folder_.Path());
        if (!drive_->Mapped())
            GTEST_SKIP() << "drive letters cannot be mapped here (not Wine, or its mount manager refused)";
        spare_ = letters[1];
        root_ = folder_.Path() + "\\";
        typed_ = drive_->Root();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        // What a command run from the program's folder would have left there.
        twtest::RemoveTree(CurrentFolder() + "stick");
    }
    void OpenDialog() {
        dialog_ = OpenFromToolbar(5, "Tupan");
        ASSERT_NE(dialog_, nullptr);
        drive_box_ = e2e::FindDescendant(dialog_, "TComboBox");
        ASSERT_NE(drive_box_, nullptr);
        immunize_ = e2e::FindDescendantByText(dialog_, "免疫");
        release_ = e2e::FindDescendantByText(dialog_, "取消免疫");
        ASSERT_TRUE(immunize_ && release_);
    }
    // Presses button and returns the text of the message box it brings, closing the box.
    std::string Press(HWND button) {
        if (!e2e::PressButton(button))
            return "(not pressed)";
        HWND box = WaitForMessageBox();
        if (!box)
            return "(no message box)";
        const std::string text = e2e::MessageBoxText(box);
        EXPECT_EQ(e2e::WindowCaption(box), "免疫信息提示");
        EXPECT_TRUE(CloseMessageBox(box));
        return text;
    }
    static DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }
    static bool IsFolder(const std::string& path) {
        const DWORD a = Attributes(path);
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }
    // The program's current folder is this test's: where the interpreter it starts stands.
    static std::string CurrentFolder() {
        char folder[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, folder);
        std::string path = folder;
        return path.back() == '\\' ? path : path + "\\";
    }

    twtest::ScratchFolder folder_{"tw-e2e-usb"};
    std::unique_ptr<twtest::MappedDrive> drive_;
    char spare_ = 0;    // a letter no drive uses
    std::string root_;  // the drive's folder
    std::string typed_; // the drive's root
    HWND dialog_ = nullptr, drive_box_ = nullptr, immunize_ = nullptr, release_ = nullptr;
};

TEST_F(UpanE2eTest, TypedRootIsImmunizedAndReleasedLeavingNothingBehind) {
    // A protected autorun.inf file, as a worm leaves it.
    HANDLE f = CreateFileA((root_ + "autorun.inf").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    Start();
    OpenDialog();
    ASSERT_TRUE(e2e::SetControlText(drive_box_, typed_));

    EXPECT_EQ(Press(immunize_), "免疫成功");
    EXPECT_TRUE(IsFolder(root_ + "autorun.inf")) << "the autorun.inf file was not replaced by a folder";
    EXPECT_TRUE(IsFolder(root_ + "autorun.inf\\vox...\\") || IsFolder(root_ + "autorun.inf\\vox"))
        << "no guard folder inside autorun.inf";

    // Whatever name the interpreter gave the guard, the release reaches it.
    EXPECT_EQ(Press(release_), "取消免疫成功");
    EXPECT_EQ(Attributes(root_ + "autorun.inf"), INVALID_FILE_ATTRIBUTES) << "autorun.inf is still there";
}

// The dialogs' push buttons wear the skin's faces: at rest frame 1 or 5 (focused), 4 under the
// mouse, 2 while pressed; they still work by mouse and by keyboard.
TEST_F(UpanE2eTest, ItsButtonsWearTheSkinsFacesAndWorkByMouseAndByKeyboard) {
    Start();
    OpenDialog();
    ASSERT_TRUE(e2e::SetControlText(drive_box_, typed_));
    const e2e::ProgramSkin skin;
    ButtonFaceProbe immunize(skin, immunize_), release(skin, release_);
    ASSERT_TRUE(immunize.Usable() && release.Usable()) << "the skin's button frames look alike";
    EXPECT_TRUE(immunize.Shows({1, 5}));
    immunize.Hover();
    EXPECT_TRUE(immunize.Shows({4}));
    immunize.Press();
    EXPECT_TRUE(immunize.Shows({2}));
    immunize.Release();
    HWND box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the click did nothing";
    EXPECT_EQ(e2e::MessageBoxText(box), "免疫成功");
    ASSERT_TRUE(CloseMessageBox(box));

    EXPECT_TRUE(release.Shows({1, 5}));
    release.SpaceDown();
    EXPECT_TRUE(release.Shows({2})) << "the space bar presses the button";
    release.SpaceUp();
    box = WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the key press did nothing";
    EXPECT_EQ(e2e::MessageBoxText(box), "取消免疫成功");
    ASSERT_TRUE(CloseMessageBox(box));
    EXPECT_EQ(Attributes(root_ + "autorun.inf"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(UpanE2eTest, ItsRadioButtonsWearTheSkinsMarksAndSwitchByMouseAndArrowKeys) {
    Start();
    OpenDialog();
    HWND all = e2e::FindDescendantByText(dialog_, "所有本地磁盘");
    HWND one = e2e::FindDescendantByText(dialog_, "选择盘符");
    ASSERT_TRUE(all && one);
    const e2e::ProgramSkin skin;
    // The program's radio image has 8 frames: 1 unchecked, 5 checked.
    const auto spot = e2e::RadioSpot(skin, 1, 5);
    ASSERT_TRUE(spot) << "the skin's checked and unchecked marks look alike";
    auto mark = [&](HWND radio) {
        RECT r{};
        GetClientRect(radio, &r);
        const int top = (r.bottom - spot->Mark.cy) / 2;
        return e2e::ScreenPixel(radio, POINT{spot->At.x, top + spot->At.y});
    };
    auto shows = [&](HWND radio, COLORREF colour) {
        return e2e::WaitUntil([&] { return mark(radio) == colour; }, 10s);
    };
    EXPECT_TRUE(shows(one, spot->Checked)) << std::hex << mark(one);
    EXPECT_TRUE(shows(all, spot->Unchecked)) << std::hex << mark(all);

    RECT r{};
    GetClientRect(all, &r);
    e2e::ClickClient(all, POINT{r.right / 2, r.bottom / 2});
    EXPECT_TRUE(shows(all, spot->Checked)) << "the click checks it";
    EXPECT_TRUE(shows(one, spot->Unchecked));

    PostMessageA(all, WM_KEYDOWN, VK_UP, 0x00480001);
    PostMessageA(all, WM_KEYUP, VK_UP, static_cast<LPARAM>(0xC0480001u));
    EXPECT_TRUE(shows(one, spot->Checked)) << "the arrow key moves the check";
    EXPECT_TRUE(shows(all, spot->Unchecked));

    // The captions are still drawn beside the marks: dark (antialiased) text right of the mark.
    auto inked = [&](HWND radio) {
        RECT c{};
        GetClientRect(radio, &c);
        int dark = 0;
        for (int x = spot->Mark.cx + 2; x < c.right; x += 1)
            for (int y = 1; y < c.bottom - 1; ++y) {
                const COLORREF p = e2e::ScreenPixel(radio, POINT{x, y});
                dark += GetRValue(p) + GetGValue(p) + GetBValue(p) < 400 ? 1 : 0;
            }
        return dark;
    };
    EXPECT_GT(inked(all), 10);
    EXPECT_GT(inked(one), 10);
}

// The drive box wears the skin's combo button (frame 4 focused or under the mouse, 1 otherwise),
// drops its list by mouse and by keyboard, and what is typed into it reaches the immunizer.
TEST_F(UpanE2eTest, ItsDriveBoxWearsTheSkinsButtonDropsDownAndTakesTypedText) {
    Start();
    OpenDialog();
    const e2e::ProgramSkin skin;
    ComboProbe button(skin, drive_box_);
    ASSERT_TRUE(button.Usable()) << "the skin's combo frames 1 and 4 look alike";
    const HWND edit = e2e::FindDescendant(drive_box_, "Edit");
    ASSERT_NE(edit, nullptr);
    // The focus goes to the checked radio button, so that only the mouse makes the button hot.
    const HWND one = e2e::FindDescendantByText(dialog_, "选择盘符");
    ASSERT_NE(one, nullptr);
    e2e::ClickClient(one, POINT{4, 4});
    // Away from the box, wherever an earlier test left the pointer.
    SetCursorPos(0, 0);
    PostMessageA(drive_box_, WM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(button.ShowsHot(false));
    button.Hover();
    EXPECT_TRUE(button.ShowsHot(true)) << "the button under the mouse";
    SetCursorPos(0, 0);
    PostMessageA(drive_box_, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(button.ShowsHot(false));

    auto dropped = [&] { return SendMessageA(drive_box_, CB_GETDROPPEDSTATE, 0, 0) != 0; };
    button.Click();
    EXPECT_TRUE(e2e::WaitUntil(dropped, 10s)) << "a click on the button drops the list";
    PostMessageA(drive_box_, CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !dropped(); }, 10s));
    e2e::ClickClient(edit, POINT{4, 4});
    PostMessageA(edit, WM_KEYDOWN, VK_F4, 0x003E0001);
    PostMessageA(edit, WM_KEYUP, VK_F4, static_cast<LPARAM>(0xC03E0001u));
    EXPECT_TRUE(e2e::WaitUntil(dropped, 10s)) << "F4 drops the list";
    PostMessageA(drive_box_, CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !dropped(); }, 10s));

    ASSERT_TRUE(e2e::SetControlText(drive_box_, ""));
    for (const char c : typed_)
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ(Press(immunize_), "免疫成功") << "the typed drive did not reach the immunizer";
    EXPECT_TRUE(IsFolder(root_ + "autorun.inf"));
    EXPECT_EQ(Press(release_), "取消免疫成功");
}

TEST_F(UpanE2eTest, TextThatIsNoDriveRootIsRefusedAndRunsNothing) {
    const std::string evil = root_ + "evil";
    HANDLE f = CreateFileA((root_ + "keep.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    ASSERT_TRUE(CreateDirectoryA((root_ + "my stick").c_str(), nullptr));
    Start();
    OpenDialog();
    // "rd X:\ /s /q autorun.inf\vox...\" would empty the drive; "md X:\my stick\autorun.inf\..."
    // would make "X:\my" and a "stick" folder where the interpreter stands.
    for (const std::string& text :
         {typed_ + " /s /q ", typed_ + "my stick\\", typed_ + " & md " + evil + " & rem "}) {
        ASSERT_TRUE(e2e::SetControlText(drive_box_, text));
        const std::string refusal = Press(release_);
        EXPECT_NE(refusal.find("只输入盘符"), std::string::npos) << text << ": " << refusal;
        EXPECT_EQ(Press(immunize_), refusal) << text;
    }
    EXPECT_NE(Attributes(root_ + "keep.txt"), INVALID_FILE_ATTRIBUTES) << "the drive was emptied";
    EXPECT_TRUE(IsFolder(root_ + "my stick"));
    EXPECT_EQ(Attributes(root_ + "my"), INVALID_FILE_ATTRIBUTES) << "md ran with the blank";
    EXPECT_EQ(Attributes(CurrentFolder() + "stick"), INVALID_FILE_ATTRIBUTES) << "md ran with the blank";
    EXPECT_EQ(Attributes(root_ + "my stick\\autorun.inf"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Attributes(evil), INVALID_FILE_ATTRIBUTES) << "the extra command ran";
    EXPECT_EQ(Attributes(root_ + "autorun.inf"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(UpanE2eTest, ADriveThatCannotBeImmunizedIsNamedInTheMessage) {
    // A drive whose medium went away: its letter leads nowhere.
    twtest::ScratchFolder gone("tw-e2e-gone");
    twtest::MappedDrive vanished(spare_, DRIVE_REMOVABLE, gone.Path());
    ASSERT_TRUE(vanished.Mapped());
    ASSERT_TRUE(RemoveDirectoryA(gone.Path().c_str()));
    Start();
    OpenDialog();
    ASSERT_TRUE(e2e::SetControlText(drive_box_, vanished.Root()));

    const std::string text = Press(immunize_);
    EXPECT_NE(text.find("免疫失败"), std::string::npos) << text;
    EXPECT_NE(text.find(vanished.Root()), std::string::npos) << text;
}

class AboutE2eTest : public e2e::ProgramTest {};

TEST_F(AboutE2eTest, OpensOnTopWithItsCaptionAndSize) {
    Start();
    HWND about = OpenFromToolbar(7, "Tabout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(e2e::WindowCaption(about), "Tarnwick优化大师V11.0");
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 333);
    EXPECT_EQ(client.bottom, 166);
    EXPECT_NE(GetWindowLongPtrA(about, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "the About box stays on top";
}

// How many pixels of a window's client rectangle, as shown on screen, satisfy keep.
template <class Keep>
int CountScreenPixels(HWND wnd, RECT client, Keep keep) {
    POINT origin{client.left, client.top};
    ClientToScreen(wnd, &origin);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    int count = 0;
    const auto* pixel = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; bits && i < width * height; ++i)
        count += keep(static_cast<int>(pixel[i] >> 16 & 0xFF), static_cast<int>(pixel[i] >> 8 & 0xFF),
                      static_cast<int>(pixel[i] & 0xFF))
                     ? 1
                     : 0;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

bool Reddish(int r, int g, int b) {
    return r > 160 && g < 90 && b < 90;
}
bool Bluish(int r, int g, int b) {
    return b > 160 && r < 90 && g < 90;
}

TEST_F(AboutE2eTest, LinkTurnsRedUnderThePointerAndBlueWhenItLeaves) {
    Start();
    HWND about = OpenFromToolbar(7, "Tabout");
    ASSERT_NE(about, nullptr);
    const RECT link{137, 80, 313, 93};
    ASSERT_EQ(CountScreenPixels(about, link, Reddish), 0);
    ASSERT_EQ(CountScreenPixels(about, link, Bluish), 0) << "the link starts in the window-text colour";

    PostMessageA(about, WM_MOUSEMOVE, 0, MAKELPARAM(150, 86));
    EXPECT_TRUE(e2e::WaitUntil([&] { return CountScreenPixels(about, link, Reddish) > 20; }, 30s))
        << "the link did not turn red under the pointer";
    PostMessageA(about, WM_MOUSEMOVE, 0, MAKELPARAM(20, 150));
    EXPECT_TRUE(e2e::WaitUntil([&] { return CountScreenPixels(about, link, Bluish) > 20; }, 30s))
        << "the link did not turn blue when the pointer left";
    EXPECT_EQ(CountScreenPixels(about, link, Reddish), 0);
}

// The command the shell runs to open http addresses, replaced for a test and put back after.
class HttpOpenCommand {
public:
    HttpOpenCommand() {
        char value[1024] = {};
        DWORD size = sizeof value;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, kKey, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) ==
            ERROR_SUCCESS)
            FSaved = value;
    }
    HttpOpenCommand(const HttpOpenCommand&) = delete;
    HttpOpenCommand& operator=(const HttpOpenCommand&) = delete;
    ~HttpOpenCommand() {
        if (FSaved)
            Set(*FSaved);
    }
    bool Set(const std::string& command) const {
        return RegSetKeyValueA(HKEY_LOCAL_MACHINE, kKey, nullptr, REG_SZ, command.c_str(),
                               static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
    }
    bool Saved() const { return FSaved.has_value(); }

private:
    static constexpr char kKey[] = "Software\\Classes\\http\\shell\\open\\command";
    std::optional<std::string> FSaved;
};

std::string FileText(const std::string& path) {
    std::string text;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return text;
    char buffer[512];
    DWORD read = 0;
    if (ReadFile(f, buffer, sizeof buffer, &read, nullptr))
        text.assign(buffer, read);
    CloseHandle(f);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.pop_back();
    return text;
}

TEST_F(AboutE2eTest, ClickingTheLinkOpensTheProductPageThroughTheShell) {
    HttpOpenCommand http;
    ASSERT_TRUE(http.Saved()) << "no command opens http addresses here";
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string opened =
        std::string(temp) + "tw-e2e-url-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(opened.c_str());
    // What the shell is asked to open is written to a file instead of going to a browser.
    ASSERT_TRUE(http.Set("\"" + WindowsFolder() + "\\system32\\cmd.exe\" /c echo %1> " + opened));
    Start();
    HWND about = OpenFromToolbar(7, "Tabout");
    ASSERT_NE(about, nullptr);

    PostMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 86));
    PostMessageA(about, WM_LBUTTONUP, 0, MAKELPARAM(150, 86));
    EXPECT_TRUE(
        e2e::WaitUntil([&] { return FileText(opened) == "http://www.tarnwick.example/soft.asp"; }, 60s))
        << "the shell was asked for \"" << FileText(opened) << "\"";
    DeleteFileA(opened.c_str());
}

} // namespace
