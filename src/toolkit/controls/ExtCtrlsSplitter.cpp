// TSplitter: finds the control docked against it and resizes it with the mouse.
#include "ExtCtrls.h"

#include <algorithm>

const TEnumType ResizeStyleType{"TResizeStyle", {"rsNone", "rsLine", "rsUpdate", "rsPattern"}};

TClass TSplitter::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TSplitter>("TSplitter")
            .Int("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize)
            .Enum("ResizeStyle", ResizeStyleType, &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle)
            .Event<TNotifyEvent>("OnMoved", &TSplitter::OnMoved)
            .Build();
    return &info;
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    FAlign = alLeft;
    FWidth = 3;
    FHeight = 100;
    FCursor = crHSplit;
}

// A splitter described as docked at the top or bottom with the default cursor gets the
// up-down one.
void TSplitter::Loaded() {
    TGraphicControl::Loaded();
    if (Horizontal() && FCursor == crHSplit)
        FCursor = crVSplit;
}

void TSplitter::Paint(HDC dc) {
    const RECT r = ClientRect();
    TBrushHandle brush(CreateSolidBrush(ColorRefOf(FColor)));
    FillRect(dc, &r, brush.Get());
}

// The visible control with the same alignment whose edge touches the splitter's other side.
TControl* TSplitter::ResizeControl() {
    if (!Parent() || FAlign == alNone || FAlign == alClient)
        return nullptr;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || c->Align() != FAlign)
            continue;
        bool touches = false;
        switch (FAlign) {
        case alTop:
            touches = c->Top() + c->Height() == FTop;
            break;
        case alBottom:
            touches = c->Top() == FTop + FHeight;
            break;
        case alLeft:
            touches = c->Left() + c->Width() == FLeft;
            break;
        case alRight:
            touches = c->Left() == FLeft + FWidth;
            break;
        default:
            break;
        }
        if (touches)
            return c;
    }
    return nullptr;
}

int TSplitter::SizeOf(TControl* control) const {
    return Horizontal() ? control->Height() : control->Width();
}

// The resized control may grow until the space that no docked control takes (what an
// alClient control gets) is down to MinSize.
int TSplitter::MaxSize(TControl* control) {
    const RECT client = Parent()->ClientRect();
    int free = Horizontal() ? client.bottom : client.right;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (!c->Visible())
            continue;
        const bool docked = Horizontal() ? (c->Align() == alTop || c->Align() == alBottom)
                                         : (c->Align() == alLeft || c->Align() == alRight);
        if (docked)
            free -= SizeOf(c);
    }
    return SizeOf(control) + free - FMinSize;
}

int TSplitter::NewSize(int x, int y) const {
    int delta = 0;
    switch (FAlign) {
    case alTop:
        delta = y - FDownPos.y;
        break;
    case alBottom:
        delta = FDownPos.y - y;
        break;
    case alLeft:
        delta = x - FDownPos.x;
        break;
    case alRight:
        delta = FDownPos.x - x;
        break;
    default:
        break;
    }
    return std::clamp(FStartSize + delta, std::min(FMinSize, FStartSize), std::max(FMaxSize, FStartSize));
}

void TSplitter::Apply(int size) {
    if (!FControl || size == SizeOf(FControl))
        return;
    if (Horizontal())
        FControl->SetHeight(size);
    else
        FControl->SetWidth(size);
    if (Parent())
        Parent()->Update();
    if (OnMoved)
        OnMoved(this);
}

// The bar where the splitter would be with the control at `size`, inverted on the parent; a
// second call at the same place takes it away again.
void TSplitter::DrawBar(int size) {
    if (!Parent() || !Parent()->HandleAllocated() || !FControl)
        return;
    RECT bar = BoundsRect();
    const int shift = size - FStartSize;
    switch (FAlign) {
    case alTop:
        OffsetRect(&bar, 0, shift);
        break;
    case alBottom:
        OffsetRect(&bar, 0, -shift);
        break;
    case alLeft:
        OffsetRect(&bar, shift, 0);
        break;
    case alRight:
        OffsetRect(&bar, -shift, 0);
        break;
    default:
        break;
    }
    TWindowDC dc(Parent()->Handle());
    PatBlt(dc.Get(), bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, DSTINVERT);
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    FControl = ResizeControl();
    if (!FControl)
        return;
    FDownPos = POINT{x, y};
    FStartSize = SizeOf(FControl);
    FMaxSize = MaxSize(FControl);
    FNewSize = FStartSize;
    if (FResizeStyle != rsUpdate) {
        FBarSize = FNewSize;
        DrawBar(FBarSize);
        FBarShown = true;
    }
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!FControl)
        return;
    FNewSize = NewSize(x, y);
    if (FResizeStyle == rsUpdate) {
        // The splitter moves with the control, so the point it was grabbed at stays under the
        // mouse: the next move is measured from the new size.
        Apply(FNewSize);
        FStartSize = SizeOf(FControl);
        FMaxSize = MaxSize(FControl);
        return;
    }
    if (FBarShown)
        DrawBar(FBarSize);
    FBarSize = FNewSize;
    DrawBar(FBarSize);
    FBarShown = true;
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && FControl) {
        if (FBarShown)
            DrawBar(FBarSize);
        FBarShown = false;
        if (FResizeStyle == rsLine || FResizeStyle == rsPattern)
            Apply(FNewSize);
        FControl = nullptr;
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

namespace {
const bool kRegistered = (RegisterClasses({TSplitter::StaticClass()}), true);
}
