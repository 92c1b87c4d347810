#include "WatchTestSupport.h"

namespace watchtest {

using skinformtest::PumpPending;
using skinformtest::PumpUntil;

FormPtr ShownForm(const std::string& caption, std::int32_t tag) {
    FormPtr form(new TForm(nullptr, TCreateNew{}));
    form->SetBounds(80, 60, 300, 200);
    form->SetCaption(caption);
    form->SetTag(tag);
    form->Show();
    PumpPending();
    return form;
}

std::string ClassOf(HWND wnd) {
    char name[128] = {};
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

bool AnswersSkinned(HWND wnd) {
    return SendMessageA(wnd, WMS_ISSKINNED, 0, 0) == 1;
}

namespace {

struct TClassSearch {
    const char* ClassName;
    HWND Found = nullptr;
};

BOOL CALLBACK MatchClass(HWND wnd, LPARAM param) {
    auto& search = *reinterpret_cast<TClassSearch*>(param);
    if (IsWindowVisible(wnd) && ClassOf(wnd) == search.ClassName) {
        search.Found = wnd;
        return FALSE;
    }
    return TRUE;
}

TModalDriver* RunningDriver = nullptr;

} // namespace

HWND ThreadWindowOfClass(const char* className) {
    TClassSearch search{className};
    EnumThreadWindows(GetCurrentThreadId(), &MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

TModalDriver::TModalDriver(std::function<bool()> step, std::function<void()> giveUp, int timeoutMs,
                           UINT intervalMs)
    : FStep(std::move(step)), FGiveUp(std::move(giveUp)), FDeadline(GetTickCount() + timeoutMs) {
    RunningDriver = this;
    FTimer = SetTimer(nullptr, 0, intervalMs, &TModalDriver::Tick);
}

TModalDriver::~TModalDriver() {
    KillTimer(nullptr, FTimer);
    RunningDriver = nullptr;
}

void CALLBACK TModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    TModalDriver* driver = RunningDriver;
    if (!driver || driver->FDone)
        return;
    if (driver->FStep()) {
        driver->FDone = true;
        return;
    }
    if (static_cast<int>(GetTickCount() - driver->FDeadline) > 0) {
        driver->FDone = true;
        driver->FGaveUp = true;
        driver->FGiveUp();
    }
}

bool CloseThreadMessageBox() {
    HWND box = ThreadWindowOfClass("#32770");
    if (!box)
        return false;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return true;
}

// ---- the fixture ---------------------------------------------------------------------------

void WatchTest::SetUp() {
    FScope.emplace();
    FRoot.reset(new TComponent(nullptr));
}

void WatchTest::TearDown() {
    FScope.reset(); // the watcher goes first, as at program end
    FRoot.reset();
    PumpPending();
}

TSkinData& WatchTest::AddSkin(TSkinFormType kind, const std::vector<std::uint8_t>& file, TComponent* owner,
                              bool active) {
    auto* skin = new TSkinData(owner ? owner : FRoot.get());
    skin->SetSkinFormtype(kind);
    skin->AssignActive(active); // no skin yet: only stored, as while the form is read
    skin->SkinFileStream().Write(file.data(), static_cast<std::int64_t>(file.size()));
    skin->LoadSkinFromStream();
    skin->Loaded();
    return *skin;
}

TSkinManage& WatchTest::Watcher() {
    TSkinManage* watcher = SkinManage();
    if (!watcher)
        watcher = dynamic_cast<TSkinManage*>(CreateSkinWatcher());
    return *watcher;
}

bool WatchTest::Started(HWND wnd) {
    const TWinSkinForm* painter = Watcher().FindSkinForm(wnd);
    return painter && painter->SkinState() == TWinSkinForm::ssActive;
}

bool WatchTest::WaitSkinned(HWND wnd, int timeoutMs) {
    return PumpUntil([&] { return Started(wnd); }, timeoutMs);
}

} // namespace watchtest
