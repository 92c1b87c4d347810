#include "Wmain.h"

#include "MainText.h"
#include "ProcessStart.h"
#include "Vendor.h"
#include "Wsystemedit.h"
#include "wUpan.h"
#include "wabout.h"

#include <tuple>
#include <vector>

Tmain* main_ = nullptr;

TClass Tmain::StaticClass() {
    static const TClassInfo info = TClassBuilder<Tmain>("Tmain")
                                       .Field("ToolBar1", &Tmain::ToolBar1)
                                       .Field("ToolButton2", &Tmain::ToolButton2)
                                       .Field("ToolButton3", &Tmain::ToolButton3)
                                       .Field("ToolButton6", &Tmain::ToolButton6)
                                       .Field("ToolButton7", &Tmain::ToolButton7)
                                       .Field("Splitter1", &Tmain::Splitter1)
                                       .Field("StatusBar1", &Tmain::StatusBar1)
                                       .Field("WebBrowser1", &Tmain::WebBrowser1)
                                       .Field("ImageList1", &Tmain::ImageList1)
                                       .Field("SkinData1", &Tmain::SkinData1)
                                       .Method<TNotifyEvent>("FormCreate", &Tmain::FormCreate)
                                       .Method<TNotifyEvent>("ToolButton2Click", &Tmain::ToolButton2Click)
                                       .Method<TNotifyEvent>("ToolButton3Click", &Tmain::ToolButton3Click)
                                       .Method<TNotifyEvent>("ToolButton6Click", &Tmain::ToolButton6Click)
                                       .Method<TNotifyEvent>("ToolButton7Click", &Tmain::ToolButton7Click)
                                       .Build();
    return &info;
}

std::string EnvironmentText(const char* name) {
    // First call for the size (terminator included), second to fill the buffer.
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return {};
    std::vector<char> buffer(size);
    const DWORD length = GetEnvironmentVariableA(name, buffer.data(), size);
    return length < size ? std::string(buffer.data(), length) : std::string();
}

namespace {

// The program's icon on the window: shared icons from the resources, never destroyed by us.
void SetProgramIcon(HWND wnd) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const auto& [kind, metricX, metricY] :
         {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON}, std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        HANDLE icon = LoadImageA(instance, "MAINICON", IMAGE_ICON, GetSystemMetrics(metricX),
                                 GetSystemMetrics(metricY), LR_SHARED);
        if (icon)
            SendMessageA(wnd, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
}

} // namespace

void Tmain::FormCreate(TObject*) {
    SetProgramIcon(Handle());
    if (SkinData1)
        SkinData1->SetSkinStore(TSkinData::ProgramSkinPath()); // ignored at run time
    // The toolbar's pictures are stored as a bitmap resource rather than inside the description.
    ImageList1->ResourceLoad(GetModuleHandleA(nullptr), "TOOLBARIMAGES", clFuchsia);
    StatusBar1->Panels()->Items(1)->SetText(
        MainStatusText(EnvironmentText("COMPUTERNAME"), EnvironmentText("USERNAME")));
    WebBrowser1->Navigate(kStartPageUrl);
}

unsigned StartCleaning() {
    // By its full path: started by name, a "cmd.exe" beside the program would run instead.
    const std::string interpreter = SystemInterpreterPath();
    return interpreter.empty() ? 0 : StartProgram(interpreter, kCleanCommandLine, SW_SHOW);
}

void Tmain::ToolButton2Click(TObject*) {
    const unsigned started = StartCleaning();
    if (started > 31)
        Application->MessageBox(kCleanStartedText, Application->Title(), MB_OK);
    else
        Application->MessageBox(kCleanFailedText, Application->Title(), MB_OK | MB_ICONERROR);
}

void Tmain::ToolButton3Click(TObject*) {
    systemedit->ShowModal();
}

void Tmain::ToolButton6Click(TObject*) {
    about->ShowModal();
}

void Tmain::ToolButton7Click(TObject*) {
    upan->ShowModal();
}
