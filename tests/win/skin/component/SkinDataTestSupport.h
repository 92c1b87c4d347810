// Shared by the skin data component's tests: the program's packed skin, a message log in place
// of the message box, components read from form text, and a watcher that records what the
// component asks of it (it skins nothing).
#pragma once

#include "SkinMessage.h"
#include "WinSkinDataComponent.h"
#include "WinSkinDataWatcher.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace skindatatest {

// skins/default.skn as checked in.
std::vector<std::uint8_t> StoredSkinFile();

// A small skin package: one title button, push buttons and a colour, so a test can tell it
// apart from the program's skin (ButtonFace 10 20 30).
std::vector<std::uint8_t> SmallSkinFile();

// The bytes of a "SkinStream" holding file.
std::vector<std::uint8_t> SkinStreamOf(const std::vector<std::uint8_t>& file);

// Form text with one TSkinData named SkinData1 under a TComponent root.
std::string FormText(const std::string& properties);

// A root component read from form text; SkinData() is its SkinData1.
class TLoadedForm {
public:
    explicit TLoadedForm(const std::string& properties);
    TSkinData& SkinData() const { return *FSkinData; }

private:
    std::unique_ptr<TComponent, TObjectDeleter> FRoot;
    TSkinData* FSkinData = nullptr;
};

// Collects the messages shown to the user while it lives.
class TMessageLog {
public:
    TMessageLog();
    const std::vector<std::string>& Messages() const { return *FMessages; }

private:
    std::shared_ptr<std::vector<std::string>> FMessages = std::make_shared<std::vector<std::string>>();
    TSkinMessageSinkScope FScope;
};

// Records each call as text ("register", "request 1 250", ...).
class TRecordingWatcher : public ISkinWatcher {
public:
    explicit TRecordingWatcher(std::vector<std::string>& calls) : FCalls(calls) {}
    void RegisterSkinData(TSkinData&) override { FCalls.push_back("register"); }
    void UnregisterSkinData(TSkinData&) override { FCalls.push_back("unregister"); }
    void InstallHook() override { FCalls.push_back("hook"); }
    void SetActionSkin(TSkinData* skin) override { FCalls.push_back(skin ? "source" : "no source"); }
    void RequestAction(TSkinAction action, int delayMs) override {
        FCalls.push_back("request " + std::to_string(action) + " " + std::to_string(delayMs));
    }
    void RefreshForms() override { FCalls.push_back("refresh forms"); }
    void SkinForm(TCustomForm&) override { FCalls.push_back("skin form"); }
    bool Active() const override { return FActive; }
    void SetActive(bool value) override {
        FActive = value;
        FCalls.push_back(value ? "active" : "inactive");
    }
    int State() const override { return FState; }
    void SetState(int value) override {
        FState = value;
        FCalls.push_back("state " + std::to_string(value));
    }

private:
    std::vector<std::string>& FCalls;
    bool FActive = false;
    int FState = 0;
};

// Installs the recording watcher's factory for the scope; the watcher is freed at its end.
class TRecordingWatcherScope {
public:
    TRecordingWatcherScope();
    ~TRecordingWatcherScope();
    TRecordingWatcherScope(const TRecordingWatcherScope&) = delete;
    TRecordingWatcherScope& operator=(const TRecordingWatcherScope&) = delete;
    std::vector<std::string> Calls;

private:
    TSkinWatcherFactory FPrevious;
};

} // namespace skindatatest
