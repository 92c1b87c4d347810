// Shared by the watcher's tests: a running watcher per test with skin data components made for
// it, shown forms, and a driver that acts while a modal loop (a message box, a popup menu)
// runs.
#pragma once

#include "../form/SkinFormTestSupport.h"
#include "Forms.h"
#include "WinSkinManage.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace watchtest {

using FormPtr = std::unique_ptr<TForm, TObjectDeleter>;

// A form built in code, placed and shown (and so activated).
FormPtr ShownForm(const std::string& caption, std::int32_t tag = 0);

std::string ClassOf(HWND wnd);
bool AnswersSkinned(HWND wnd);

// The visible top-level window of this thread with the class, or nullptr.
HWND ThreadWindowOfClass(const char* className);

// While a modal loop of this thread runs, calls step every intervalMs until it returns true;
// after timeoutMs it calls giveUp instead (which must end the loop) and records that it had to.
class TModalDriver {
public:
    TModalDriver(std::function<bool()> step, std::function<void()> giveUp, int timeoutMs = 5000,
                 UINT intervalMs = 30);
    ~TModalDriver();
    TModalDriver(const TModalDriver&) = delete;
    TModalDriver& operator=(const TModalDriver&) = delete;
    bool GaveUp() const { return FGaveUp; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    std::function<bool()> FStep;
    std::function<void()> FGiveUp;
    DWORD FDeadline;
    UINT_PTR FTimer = 0;
    bool FGaveUp = false;
    bool FDone = false;
};

// Closes the message box of this thread that is open now; false when there is none.
bool CloseThreadMessageBox();

class WatchTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A component registered with the watcher as the form reader leaves it: Active as given,
    // the skin parsed, then the after-load notification. Owned by owner (the test's root when
    // none).
    TSkinData& AddSkin(TSkinFormType kind, const std::vector<std::uint8_t>& file, TComponent* owner = nullptr,
                       bool active = true);
    TSkinData& AddMainSkin() { return AddSkin(sfMainform, skinformtest::SmallSkinFile()); }
    TSkinManage& Watcher();
    // The watcher has a painter for the window and it has started.
    bool Started(HWND wnd);
    // Pumps until Started(wnd).
    bool WaitSkinned(HWND wnd, int timeoutMs = 5000);

    std::unique_ptr<TComponent, TObjectDeleter> FRoot;

private:
    std::optional<TSkinManageScope> FScope;
};

} // namespace watchtest
