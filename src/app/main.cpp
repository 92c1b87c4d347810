// Program entry: the application object, its title, the window watcher, the four windows in
// their fixed order, and the message loop until the main window closes.
#include "MainText.h"
#include "WinSkinManage.h"
#include "Wmain.h"
#include "Wsystemedit.h"
#include "wUpan.h"
#include "wabout.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Application->Initialize();
    Application->SetTitle(kApplicationTitle);
    // Before the main window is read: its skin data component creates the watcher.
    TSkinManageScope watcher;
    Application->CreateForm(main_);
    Application->CreateForm(upan);
    Application->CreateForm(systemedit);
    Application->CreateForm(about);
    Application->Run();
    return 0;
}
