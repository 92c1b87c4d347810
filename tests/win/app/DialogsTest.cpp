// The program's dialogs built from their descriptions in this process: the startup list's rows
// with the fields the user does not see (kind code, disabled flag, check mark), and the
// immunizer's drive list and radio pair.
#include "TestDrives.h"
#include "Wsystemedit.h"
#include "wUpan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>

namespace {

template <class T>
using Owned = std::unique_ptr<T, TObjectDeleter>;

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// A string value the test writes, removed again when it ends.
class TestValue {
public:
    TestValue(HKEY root, std::string key, std::string name, const std::string& data)
        : FRoot(root), FKey(std::move(key)), FName(std::move(name)) {
        FWritten = RegSetKeyValueA(FRoot, FKey.c_str(), FName.c_str(), REG_SZ, data.c_str(),
                                   static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
    }
    TestValue(const TestValue&) = delete;
    TestValue& operator=(const TestValue&) = delete;
    ~TestValue() { RegDeleteKeyValueA(FRoot, FKey.c_str(), FName.c_str()); }
    bool Written() const { return FWritten; }
    bool Exists() const {
        return RegGetValueA(FRoot, FKey.c_str(), FName.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }

private:
    HKEY FRoot;
    std::string FKey, FName;
    bool FWritten = false;
};

TListItem* Row(Tsystemedit& dialog, const std::string& name) {
    TListItems* items = dialog.bootList->Items();
    for (int i = 0; i < items->Count(); ++i)
        if (items->Item(i)->Caption() == name)
            return items->Item(i);
    return nullptr;
}

// Command, exists, kind code, disabled flag.
std::vector<std::string> SubItems(TListItem* row) {
    std::vector<std::string> cells;
    for (int i = 0; i < row->SubItems()->Count(); ++i)
        cells.push_back(row->SubItems()->Strings(i));
    return cells;
}

TEST(SystemEditDialog, RowsCarryKindCodesDisabledFlagsAndCheckMarksInSourceOrder) {
    const TestValue machineOff(HKEY_LOCAL_MACHINE, kRun + "-", "tw-dlg-machine-off", "C:\\tw-nowhere\\m.exe");
    const TestValue run(HKEY_CURRENT_USER, kRun, "tw-dlg-run", "C:\\tw-nowhere\\r.exe /q");
    const TestValue once(HKEY_CURRENT_USER, kRunOnce, "tw-dlg-once", "C:\\tw-nowhere\\o.exe");
    const TestValue onceOff(HKEY_CURRENT_USER, kRunOnce + "-", "tw-dlg-once-off", "C:\\tw-nowhere\\x.exe");
    ASSERT_TRUE(machineOff.Written() && run.Written() && once.Written() && onceOff.Written());
    Owned<Tsystemedit> dialog(CreateForm<Tsystemedit>(nullptr));

    TListItem* rows[] = {Row(*dialog, "tw-dlg-machine-off"), Row(*dialog, "tw-dlg-run"),
                         Row(*dialog, "tw-dlg-once"), Row(*dialog, "tw-dlg-once-off")};
    for (TListItem* row : rows)
        ASSERT_NE(row, nullptr);
    EXPECT_LT(rows[0]->Index(), rows[1]->Index());
    EXPECT_LT(rows[1]->Index(), rows[2]->Index());
    EXPECT_LT(rows[2]->Index(), rows[3]->Index());
    EXPECT_EQ(SubItems(rows[0]), (std::vector<std::string>{"C:\\tw-nowhere\\m.exe", "否", "4", "1"}));
    EXPECT_EQ(SubItems(rows[1]), (std::vector<std::string>{"C:\\tw-nowhere\\r.exe /q", "否", "11", "0"}));
    EXPECT_EQ(SubItems(rows[2]), (std::vector<std::string>{"C:\\tw-nowhere\\o.exe", "否", "13", "0"}));
    EXPECT_EQ(SubItems(rows[3]), (std::vector<std::string>{"C:\\tw-nowhere\\x.exe", "否", "14", "1"}));
    EXPECT_TRUE(rows[0]->Checked());
    EXPECT_FALSE(rows[1]->Checked());
    EXPECT_FALSE(rows[2]->Checked());
    EXPECT_TRUE(rows[3]->Checked());
    EXPECT_EQ(rows[1]->ImageIndex(), 3);
    EXPECT_TRUE(dialog->bootList->ShowColumnHeaders());
}

TEST(SystemEditDialog, DeleteActsOnlyOnTheSelectedRowAndItsOwnKey) {
    const TestValue once(HKEY_CURRENT_USER, kRunOnce, "tw-dlg-twin", "C:\\tw-nowhere\\on.exe");
    const TestValue onceOff(HKEY_CURRENT_USER, kRunOnce + "-", "tw-dlg-twin", "C:\\tw-nowhere\\off.exe");
    ASSERT_TRUE(once.Written() && onceOff.Written());
    Owned<Tsystemedit> dialog(CreateForm<Tsystemedit>(nullptr));
    TListItems* items = dialog->bootList->Items();
    const int count = items->Count();

    ASSERT_EQ(dialog->bootList->Selected(), nullptr);
    dialog->Button2Click(dialog->Button2);
    EXPECT_EQ(items->Count(), count);
    EXPECT_TRUE(once.Exists() && onceOff.Exists());

    // Two rows share the name: the one of the "-" key is the later one.
    TListItem* parked = nullptr;
    for (int i = 0; i < items->Count(); ++i)
        if (items->Item(i)->Caption() == "tw-dlg-twin" && items->Item(i)->SubItems()->Strings(2) == "14")
            parked = items->Item(i);
    ASSERT_NE(parked, nullptr);
    parked->SetSelected(true);
    dialog->Button2Click(dialog->Button2);
    EXPECT_EQ(items->Count(), count - 1);
    EXPECT_FALSE(onceOff.Exists());
    EXPECT_TRUE(once.Exists()) << "the enabled key's value of the same name stays";
    ASSERT_NE(Row(*dialog, "tw-dlg-twin"), nullptr);
    EXPECT_EQ(Row(*dialog, "tw-dlg-twin")->SubItems()->Strings(2), "13");
}

TEST(UpanDialog, OffersTheDrivesFoundAndTheRadioPairSwitchesTheDriveList) {
    Owned<Tupan> dialog(CreateForm<Tupan>(nullptr));
    std::vector<std::string> offered;
    for (int i = 0; i < dialog->ComboBox1->Items()->Count(); ++i)
        offered.push_back(dialog->ComboBox1->Items()->Get(i));
    EXPECT_EQ(offered, dialog->Immunizer()->Roots());
    EXPECT_NE(std::find(offered.begin(), offered.end(), "C:\\"), offered.end());
    EXPECT_EQ(dialog->ComboBox1->ItemIndex(), -1) << "no drive is chosen for the user";
    EXPECT_EQ(dialog->ComboBox1->Text(), "");

    EXPECT_TRUE(dialog->RadioButton2->Checked());
    EXPECT_TRUE(dialog->ComboBox1->Enabled());
    dialog->RadioButton1->SetChecked(true);
    EXPECT_FALSE(dialog->RadioButton2->Checked()) << "the two choices exclude each other";
    EXPECT_FALSE(dialog->ComboBox1->Enabled());
    dialog->RadioButton2->SetChecked(true);
    EXPECT_FALSE(dialog->RadioButton1->Checked());
    EXPECT_TRUE(dialog->ComboBox1->Enabled());
}

// A window of the test's own, answering for the user while the dialog works: a message posted
// to it before a press is handled while the press's command runs (the dialog handles messages
// meanwhile); it then presses again, and closes the message boxes that follow.
class StandInUser {
public:
    explicit StandInUser(Tupan& dialog) : FDialog(dialog) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TwStandInUser";
        RegisterClassA(&wc);
        FWnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                               nullptr);
        SetWindowLongPtrA(FWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    StandInUser(const StandInUser&) = delete;
    StandInUser& operator=(const StandInUser&) = delete;
    ~StandInUser() { DestroyWindow(FWnd); }

    void ActDuringTheNextCommand() { PostMessageA(FWnd, WM_APP, 0, 0); }

    bool actedDuringCommand = false;
    bool choicesLocked = false;
    std::vector<std::string> boxes; // the texts of the message boxes closed

private:
    static BOOL CALLBACK FindBox(HWND wnd, LPARAM found) {
        char name[16] = {};
        GetClassNameA(wnd, name, sizeof name);
        if (std::string(name) != "#32770" || !IsWindowVisible(wnd))
            return TRUE;
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<StandInUser*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
        if (self && msg == WM_APP) {
            Tupan& d = self->FDialog;
            self->actedDuringCommand = d.Immunizer()->Busy();
            self->choicesLocked = !d.Button1->Enabled() && !d.Button2->Enabled() &&
                                  !d.RadioButton1->Enabled() && !d.RadioButton2->Enabled() &&
                                  !d.ComboBox1->Enabled();
            SetTimer(wnd, 1, 20, nullptr);
            d.Button2Click(d.Button2); // pressed again meanwhile
            return 0;
        }
        if (self && msg == WM_TIMER) {
            HWND box = nullptr;
            EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                char text[512] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                self->boxes.emplace_back(text);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
            return 0;
        }
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }

    Tupan& FDialog;
    HWND FWnd = nullptr;
};

TEST(UpanDialog, WhileACommandRunsTheChoicesAreLockedAndAnotherPressDoesNothing) {
    twtest::ScratchFolder stick("tw-dlg-stick");
    const std::vector<char> letters = twtest::FreeLetters(1);
    ASSERT_EQ(letters.size(), 1u);
    twtest::MappedDrive drive(letters[0], DRIVE_REMOVABLE, stick.Path());
    if (!drive.Mapped())
        GTEST_SKIP() << "drive letters cannot be mapped here (not Wine, or its mount manager refused)";
    Owned<Tupan> dialog(CreateForm<Tupan>(nullptr));
    dialog->ComboBox1->SetText(drive.Root());
    StandInUser user(*dialog);

    user.ActDuringTheNextCommand();
    dialog->Button1Click(dialog->Button1);
    EXPECT_TRUE(user.actedDuringCommand) << "no message was handled while the command ran";
    EXPECT_TRUE(user.choicesLocked) << "the dialog offered its buttons while busy";
    EXPECT_EQ(user.boxes, std::vector<std::string>{"免疫成功"}) << "the second press was not ignored";
    EXPECT_NE(GetFileAttributesA((stick.Path() + "\\autorun.inf").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the immunization was undone meanwhile";
    for (TWinControl* control : std::initializer_list<TWinControl*>{
             dialog->Button1, dialog->Button2, dialog->RadioButton1, dialog->RadioButton2, dialog->ComboBox1})
        EXPECT_TRUE(control->Enabled()) << control->Name();
}

} // namespace
