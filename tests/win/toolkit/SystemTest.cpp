// Timers and the registry (under HKCU of the test prefix).
#include "Forms.h"
#include "Registry.h"
#include "Timer.h"

#include <gtest/gtest.h>

namespace {

struct TickCounter : TObject {
    int ticks = 0;
    void Tick(TObject*) { ++ticks; }
};

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

TEST(Timer, FiresWhileEnabled) {
    TickCounter counter;
    TTimer timer(nullptr);
    timer.SetInterval(10);
    PumpFor(60); // ticking without a handler is harmless
    timer.OnTimer = TNotifyEvent(&counter, &TickCounter::Tick);
    PumpFor(150);
    EXPECT_GT(counter.ticks, 0);
    timer.SetEnabled(false);
    const int stopped = counter.ticks;
    PumpFor(60);
    EXPECT_EQ(counter.ticks, stopped);
    timer.SetEnabled(true);
    timer.SetInterval(0); // no interval, no ticks
    PumpFor(60);
    EXPECT_EQ(counter.ticks, stopped);
}

TEST(Timer, ExceptionsInOnTimerReachTheApplication) {
    struct Failing : TObject {
        int reports = 0;
        void Tick(TObject*) { throw Exception("tick failed"); }
        void Report(TObject*, const Exception&) { ++reports; }
    } failing;
    Application->OnException = TExceptionEvent(&failing, &Failing::Report);
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.SetOnTimer(TNotifyEvent(&failing, &Failing::Tick));
    PumpFor(100);
    timer.SetEnabled(false);
    EXPECT_GT(failing.reports, 0);
    Application->OnException = TExceptionEvent();
}

class RegistryTest : public ::testing::Test {
protected:
    const std::string kKey = "Software\\TarnwickToolkitTest";
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kKey.c_str()); }
};

TEST_F(RegistryTest, OpensWithOrWithoutCreatingAndListsValuesInOrder) {
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.OpenKey(kKey + "\\Run", false));
    ASSERT_TRUE(reg.OpenKey(kKey + "\\Run", true));
    reg.WriteString("Zeta", "c:\\z.exe");
    reg.WriteString("Alpha", "c:\\a.exe");
    reg.WriteExpandString("Mid", "%windir%\\m.exe");
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentKey(), nullptr);

    ASSERT_TRUE(reg.OpenKey(kKey + "\\Run", false));
    TStringList names;
    reg.GetValueNames(names);
    // Exactly the order the registry enumerates them (Wine sorts, Windows keeps insertion order).
    std::string expected;
    char name[64];
    DWORD length = sizeof name;
    for (DWORD i = 0; RegEnumValueA(reg.CurrentKey(), i, name, &length, nullptr, nullptr, nullptr, nullptr) ==
                      ERROR_SUCCESS;
         ++i, length = sizeof name)
        expected += (i ? "," : "") + std::string(name);
    EXPECT_EQ(names.CommaText(), expected);
    EXPECT_EQ(names.Count(), 3);
    EXPECT_EQ(reg.ReadString("alpha"), "c:\\a.exe");
    EXPECT_EQ(reg.ReadString("Mid"), "%windir%\\m.exe");
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_TRUE(reg.DeleteValue("Zeta"));
    EXPECT_FALSE(reg.DeleteValue("Zeta"));
    reg.GetValueNames(names);
    EXPECT_EQ(names.IndexOf("Zeta"), -1);
    EXPECT_EQ(names.Count(), 2);
}

TEST_F(RegistryTest, ReadingANonStringValueAsStringRaisesANamedError) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, true));
    reg.WriteInteger("Count", 7);
    EXPECT_EQ(reg.ReadInteger("Count"), 7);
    try {
        reg.ReadString("Count");
        FAIL() << "no error";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for 'Count'");
    }
    reg.WriteString("Text", "x");
    EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
}

TEST_F(RegistryTest, RelativeKeysOpenBelowTheCurrentOne) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kKey, true));
    ASSERT_TRUE(reg.OpenKey("Child", true));
    EXPECT_EQ(reg.CurrentPath(), kKey + "\\Child");
    reg.WriteString("v", "1");
    ASSERT_TRUE(reg.OpenKey("\\" + kKey, false));
    EXPECT_TRUE(reg.KeyExists("Child"));
    TRegistry readOnly;
    ASSERT_TRUE(readOnly.OpenKeyReadOnly(kKey + "\\Child"));
    EXPECT_EQ(readOnly.ReadString("v"), "1");
    EXPECT_THROW(readOnly.WriteString("w", "2"), ERegistryException);
}

} // namespace
