// TCanvas with its font, brush and pen: what it draws (read back pixel by pixel), how it
// selects its objects into a DC and gives the DC's own back, and that nothing leaks.
#include "GdiCounter.h"
#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

using namespace gfxtest;
using Rows = std::vector<std::string>;

namespace {

struct TChangeCounter {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
    TNotifyEvent Handler() { return TNotifyEvent(this, &TChangeCounter::Changed); }
};

bool Contains(TCanvas& canvas, int width, int height, TColor color) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (canvas.Pixels(x, y) == color)
                return true;
    return false;
}

} // namespace

// ---- selection and leaks -------------------------------------------------------------------

TEST(CanvasObjects, ABorrowedDcGetsItsOwnObjectsBack) {
    TGdiBalance balance;
    {
        TMemoryDC dc(CreateCompatibleDC(nullptr));
        const HGDIOBJ font = GetCurrentObject(dc.Get(), OBJ_FONT);
        const HGDIOBJ brush = GetCurrentObject(dc.Get(), OBJ_BRUSH);
        const HGDIOBJ pen = GetCurrentObject(dc.Get(), OBJ_PEN);
        {
            TCanvas canvas;
            canvas.SetHandle(dc.Get());
            canvas.Font()->SetHeight(-20);
            canvas.Brush()->SetColor(clRed);
            canvas.Pen()->SetColor(clBlue);
            canvas.Handle();
            EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), canvas.Font()->Handle());
            EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), canvas.Brush()->Handle());
            EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), canvas.Pen()->Handle());
        }
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen);
    }
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

TEST(CanvasObjects, ChangingSelectedObjectsReplacesThemWithoutLeaks) {
    TGdiBalance balance;
    {
        auto target = Filled(40, 20, clWhite);
        TCanvas& canvas = *target->Canvas();
        canvas.TextOut(0, 0, "Ab");
        const HFONT first = canvas.Font()->Handle();
        for (int i = 0; i < 50; ++i) {
            canvas.Font()->SetHeight(-8 - i % 10);
            canvas.Font()->SetStyle(i % 2 ? TFontStyles{fsBold} : TFontStyles{});
            canvas.Brush()->SetStyle(i % 3 ? bsSolid : bsDiagCross);
            canvas.Brush()->SetColor(RGBColor(static_cast<std::uint8_t>(i), 0, 0));
            canvas.Pen()->SetWidth(1 + i % 3);
            canvas.TextOut(0, 0, "Ab");
            canvas.Rectangle(0, 0, 10, 10);
        }
        EXPECT_NE(canvas.Font()->Handle(), first);
        EXPECT_EQ(GetCurrentObject(canvas.Handle(), OBJ_FONT), canvas.Font()->Handle());
        EXPECT_EQ(GetObjectType(first), 0u) << "the replaced font was deleted";
    }
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

TEST(CanvasObjects, AColourChangeKeepsTheFontHandle) {
    auto target = Filled(60, 40, clWhite);
    TCanvas& canvas = *target->Canvas();
    canvas.Font()->SetHeight(-36);
    canvas.Font()->SetStyle({fsBold});
    const HFONT font = canvas.Font()->Handle();
    canvas.Font()->SetColor(clRed);
    EXPECT_EQ(canvas.Font()->Handle(), font);
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(2, 0, "W");
    EXPECT_TRUE(Contains(canvas, 60, 40, clRed)) << "the text is drawn in the new colour";
}

TEST(CanvasObjects, ObjectsTellTheirOwnerOfEveryRealChange) {
    TChangeCounter counter;
    TFont font;
    font.SetOnChange(counter.Handler());
    font.SetName("Arial");
    font.SetName("Arial");
    font.SetSize(font.Size());
    font.SetStyle({fsItalic});
    font.SetColor(clRed);
    EXPECT_EQ(counter.Count, 3);

    TFont other;
    other.SetHeight(-30);
    font.Assign(&other);
    EXPECT_EQ(counter.Count, 4);
    EXPECT_EQ(font.Height(), -30);
    EXPECT_EQ(font.Name(), other.Name());

    TPen pen;
    pen.SetOnChange(counter.Handler());
    pen.SetMode(pmXor);
    pen.SetWidth(3);
    EXPECT_EQ(counter.Count, 6);
}

TEST(CanvasObjects, HandlesAreDescribedNotTaken) {
    TGdiBalance balance;
    LOGFONTW lf{};
    lf.lfHeight = -17;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = TRUE;
    wcscpy(lf.lfFaceName, L"Tahoma");
    HFONT foreign = CreateFontIndirectW(&lf);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(1, 2, 3));
    {
        TFont font;
        font.SetHandle(foreign);
        EXPECT_EQ(font.Height(), -17);
        EXPECT_EQ(font.Name(), "Tahoma");
        EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsItalic}));
        EXPECT_NE(font.Handle(), foreign);
        font.SetHandle(nullptr); // a window without a font of its own uses the system font
        EXPECT_FALSE(font.Name().empty());

        TBrush brush;
        brush.SetHandle(hatch);
        EXPECT_EQ(brush.Style(), bsCross);
        EXPECT_EQ(brush.Color(), RGBColor(1, 2, 3));
        brush.Handle();
        EXPECT_THROW(brush.SetHandle(nullptr), EInvalidGraphicOperation);
    }
    EXPECT_EQ(balance.Leaked(), 2) << "the foreign handles stay their owner's: " << balance.Details();
    EXPECT_EQ(GetObjectType(foreign), static_cast<DWORD>(OBJ_FONT));
    DeleteObject(foreign);
    DeleteObject(hatch);
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

// ---- drawing -------------------------------------------------------------------------------

TEST(CanvasDrawing, ShapesUseThePenOutsideAndTheBrushInside) {
    auto target = Filled(5, 5, clWhite);
    TCanvas& canvas = *target->Canvas();
    canvas.Pen()->SetColor(clBlue);
    canvas.Brush()->SetColor(clYellow);
    canvas.Rectangle(0, 0, 4, 4);
    EXPECT_EQ(Letters(canvas, 5, 5), (Rows{"BBBBW", "BYYBW", "BYYBW", "BBBBW", "WWWWW"}));

    canvas.Brush()->SetStyle(bsClear);
    canvas.Pen()->SetColor(clRed);
    canvas.Rectangle(1, 1, 5, 5);
    EXPECT_EQ(Letters(canvas, 5, 5), (Rows{"BBBBW", "BRRRR", "BRYBR", "BRBBR", "WRRRR"}));
}

TEST(CanvasDrawing, FillFrameAndPixels) {
    auto target = Filled(4, 4, clWhite);
    TCanvas& canvas = *target->Canvas();
    canvas.Brush()->SetColor(clLime);
    canvas.FillRect(Rect(1, 1, 3, 3));
    canvas.Brush()->SetColor(clBlack);
    canvas.FrameRect(Rect(0, 0, 4, 4));
    canvas.SetPixels(3, 3, clFuchsia);
    EXPECT_EQ(Letters(canvas, 4, 4), (Rows{"KKKK", "KGGK", "KGGK", "KKKM"}));
    EXPECT_EQ(canvas.Pixels(4, 0), clNone);
    EXPECT_EQ(canvas.Pixels(-1, 0), clNone);
}

TEST(CanvasDrawing, PatternBrushesRepeatTheirOwnCopyOfThePicture) {
    TGdiBalance balance;
    {
        auto target = Filled(4, 2, clWhite);
        auto pattern = AllocPatternBitmap(clRed, clBlue);
        target->Canvas()->Brush()->SetBitmap(pattern.get());
        pattern.reset();
        target->Canvas()->FillRect(Rect(0, 0, 4, 2));
        EXPECT_EQ(Letters(*target->Canvas(), 4, 2), (Rows{"RBRB", "BRBR"}));
        target->Canvas()->Brush()->SetColor(clLime);
        EXPECT_EQ(target->Canvas()->Brush()->Bitmap(), nullptr);
        target->Canvas()->FillRect(Rect(0, 0, 1, 1));
        EXPECT_EQ(target->Canvas()->Pixels(0, 0), clLime);
    }
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

TEST(CanvasDrawing, PolygonFillsItsInside) {
    auto target = Filled(9, 9, clWhite);
    TCanvas& canvas = *target->Canvas();
    canvas.Pen()->SetColor(clBlack);
    canvas.Brush()->SetColor(clBlue);
    const TPoint triangle[] = {{0, 0}, {8, 0}, {0, 8}};
    canvas.Polygon(triangle);
    EXPECT_EQ(canvas.Pixels(2, 2), clBlue);
    EXPECT_EQ(canvas.Pixels(0, 4), clBlack);
    EXPECT_EQ(canvas.Pixels(7, 7), clWhite);
}

TEST(CanvasDrawing, CopyRectStretchesWithTheCopyMode) {
    auto source = Picture({"RG", "BY"});
    auto target = Filled(4, 4, clWhite);
    target->Canvas()->CopyRect(Rect(0, 0, 4, 4), source->Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(Letters(*target->Canvas(), 4, 4), (Rows{"RRGG", "RRGG", "BBYY", "BBYY"}));

    target->Canvas()->SetCopyMode(cmNotSrcCopy);
    target->Canvas()->CopyRect(Rect(0, 0, 2, 2), source->Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(Letters(*target->Canvas(), 2, 2), (Rows{"CM", "YB"}));

    target->Canvas()->SetCopyMode(cmSrcCopy);
    target->Canvas()->CopyRect(Rect(0, 0, 2, 1), target->Canvas(), Rect(2, 2, 4, 3));
    EXPECT_EQ(Letters(*target->Canvas(), 2, 1), (Rows{"YY"})) << "a canvas copies from itself";
}

TEST(CanvasDrawing, BrushCopyPaintsTheKeyWithTheBrushOrLeavesIt) {
    auto source = Picture({"RM", "MG"});
    auto target = Filled(2, 2, clYellow);
    target->Canvas()->Brush()->SetColor(clBlue);
    target->Canvas()->BrushCopy(Rect(0, 0, 2, 2), source.get(), Rect(0, 0, 2, 2), clFuchsia);
    EXPECT_EQ(Letters(*target->Canvas(), 2, 2), (Rows{"RB", "BG"}));

    auto clear = Filled(2, 2, clYellow);
    clear->Canvas()->Brush()->SetStyle(bsClear);
    clear->Canvas()->BrushCopy(Rect(0, 0, 2, 2), source.get(), Rect(0, 0, 2, 2), clFuchsia);
    EXPECT_EQ(Letters(*clear->Canvas(), 2, 2), (Rows{"RY", "YG"}));
}

TEST(CanvasDrawing, TextMeasuresGrowWithTheFontAndMoveThePen) {
    auto target = Filled(200, 60, clWhite);
    TCanvas& canvas = *target->Canvas();
    canvas.Font()->SetHeight(-10);
    const TSize small = canvas.TextExtent("Hello");
    canvas.Font()->SetHeight(-30);
    const TSize large = canvas.TextExtent("Hello");
    EXPECT_GT(small.cx, 0);
    EXPECT_GT(large.cx, small.cx);
    EXPECT_GT(large.cy, small.cy);

    canvas.TextOut(5, 5, "Hello");
    EXPECT_EQ(canvas.PenPos().x, 5 + large.cx);
    EXPECT_EQ(canvas.PenPos().y, 5);

    // 8-bit text is in the system code page (GBK here) and measures as its wide form.
    EXPECT_GT(canvas.TextWidth("中文"), 0);
    EXPECT_EQ(canvas.TextWidth("中文"), canvas.TextWidth(L"中文"));

    TRect box = Rect(0, 0, 1000, 0);
    const int height = canvas.TextRect(box, "one\ntwo", DT_CALCRECT);
    EXPECT_EQ(height, box.bottom);
    EXPECT_GE(height, 2 * large.cy - 2) << "two lines";
}

TEST(CanvasDrawing, TextRectClipsAndFillsItsBackground) {
    auto target = Filled(40, 20, clWhite);
    TCanvas& canvas = *target->Canvas();
    canvas.Brush()->SetColor(clYellow);
    canvas.Font()->SetHeight(-30);
    canvas.TextRect(Rect(0, 0, 10, 10), 0, 0, "MMMM");
    EXPECT_TRUE(Contains(canvas, 10, 10, clYellow)) << "opaque background inside";
    for (int y = 0; y < 20; ++y)
        for (int x = 10; x < 40; ++x)
            ASSERT_EQ(canvas.Pixels(x, y), clWhite) << "nothing outside the rectangle: " << x << "," << y;
}

TEST(CanvasDrawing, GraphicsNeedADc) {
    TCanvas canvas;
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 2);
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_EQ(canvas.LockCount(), 0);
}

// ---- names and published properties --------------------------------------------------------

TEST(GraphicsNames, ColoursReadAndWriteByName) {
    EXPECT_EQ(StringToColor("clBtnFace"), clBtnFace);
    EXPECT_EQ(StringToColor("clred"), clRed);
    EXPECT_EQ(StringToColor("$00123456"), 0x123456);
    EXPECT_EQ(StringToColor("-16777201"), clBtnFace);
    EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
    EXPECT_EQ(ColorToString(clActiveBorder), "clActiveBorder");
    EXPECT_EQ(ColorToString(0x123456), "$00123456");
    EXPECT_EQ(ColorToColorRef(clBtnFace), static_cast<COLORREF>(GetSysColor(COLOR_BTNFACE)));
}

TEST(GraphicsNames, FontBrushAndPenPublishTheirProperties) {
    TFont font;
    SetPropValue(font, "Name", "Arial");
    SetPropValue(font, "Height", "-13");
    SetPropValue(font, "Style", "[fsBold,fsUnderline]");
    SetPropValue(font, "Color", "clWindowText");
    SetPropValue(font, "Charset", "GB2312_CHARSET");
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(font.Charset(), GB2312_CHARSET);
    EXPECT_EQ(GetOrdProp(font, "Color"), clWindowText);

    TBrush brush;
    SetPropValue(brush, "Style", "bsClear");
    EXPECT_EQ(brush.Style(), bsClear);
    TPen pen;
    SetPropValue(pen, "Mode", "pmXor");
    EXPECT_EQ(pen.Mode(), pmXor);
}
