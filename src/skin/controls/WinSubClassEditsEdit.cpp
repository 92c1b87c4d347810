// TSkinEdit: a flat border for single-line edits and the skinned spin button inside them.
#include "WinSubClassEdits.h"

#include "WinSkinMessages.h"
#include "WinSubClassSpin.h"

#include "SysUtils.h"

TClass TSkinEdit::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinEdit>("TSkinEdit").Build();
    return &info;
}

bool ClientFills(HWND wnd, const TRect& r, int slack) {
    RECT client{};
    GetClientRect(wnd, &client);
    return RectWidth(r) - RectWidth(client) <= slack || RectHeight(r) - RectHeight(client) <= slack;
}

namespace {

bool IsSpinClass(const std::string& name) {
    return name == "msctls_updown32" || name.find("spin") != std::string::npos ||
           name.find("updown") != std::string::npos;
}

void FrameIn(HDC dc, const TRect& r, COLORREF color) {
    TBrushHandle brush(CreateSolidBrush(color));
    FrameRect(dc, &r, brush.Get());
}

} // namespace

TSkinEdit::~TSkinEdit() {
    if (FSpin)
        FSpin->RemoveFreeNotification(this);
}

void TSkinEdit::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == opRemove && component == FSpin)
        FSpin = nullptr;
}

void TSkinEdit::FindSpin(HWND wnd, TSkinData* skinData, TCanvas* canvas) {
    for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[101] = {};
        GetClassNameA(child, name, sizeof name);
        if (!IsSpinClass(LowerCase(name)))
            continue;
        // The spin skinner lives as long as the edit skinner's owner keeps its skinners.
        FSpin = new TSkinUpDown(Owner());
        FSpin->FreeNotification(this);
        FSpin->SetInEdit(true);
        FSpin->AttachWindow(child, skinData, FForm, canvas);
        return;
    }
}

void TSkinEdit::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        PaintNow(reinterpret_cast<HDC>(message.WParam));
        break;
    case WM_PRINTCLIENT: {
        RECT window{};
        GetWindowRect(FHandle, &window);
        FWindowRect = window;
        const TRect r{0, 0, RectWidth(window), RectHeight(window)};
        if (message.WParam) {
            DrawPrintBorder(reinterpret_cast<HDC>(message.WParam), r);
        } else {
            TWindowDC dc(FHandle, true);
            DrawPrintBorder(dc.Get(), r);
        }
        break;
    }
    case WMS_PAINTCONTROLTO:
        if (message.LParam != SKIN_MAGIC) {
            TSkinControl::AfterMessage(message);
            break;
        }
        if (message.WParam) {
            TMessage paint{WM_PAINT, message.WParam, 0, 0};
            CallOldProc(paint);
        }
        message.Result = SKIN_MAGIC;
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinEdit::DrawSkin(HDC dc, const TRect& r) {
    DrawBorder(dc, r, 3);
}

void TSkinEdit::DrawBorder(HDC dc, const TRect& r, int frames) {
    if (FSkinData && FSkinData->SkinControls().Contains(xcSpin) && !FSpin)
        FindSpin(FHandle, FSkinData, FCanvas);
    if (ClientFills(FHandle, r, 0))
        return;
    TRect frame = r;
    FrameIn(dc, frame, ColorToRGB(ShadowColor()));
    for (int i = 1; i < frames; ++i) {
        InflateRect(&frame, -1, -1);
        FrameIn(dc, frame, RGB(255, 255, 255));
    }
}

void TSkinEdit::DrawPrintBorder(HDC dc, const TRect& r) {
    if (ClientFills(FHandle, r, 2))
        return;
    TRect inner = r;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    FrameIn(dc, r, ColorToRGB(ShadowColor()));
}
