#include "GraphicsObjects.h"

#include "Bitmap.h"

#include <algorithm>
#include <array>

const TEnumType FontStyleType{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
const TEnumType FontPitchType{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};
const TEnumType PenStyleType{
    "TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
const TEnumType PenModeType{"TPenMode",
                            {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                             "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge",
                             "pmMask", "pmNotMask", "pmXor", "pmNotXor"}};
const TEnumType BrushStyleType{"TBrushStyle",
                               {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                "bsBDiagonal", "bsCross", "bsDiagCross"}};
const TIdentMap CharsetIdents{"TFontCharset",
                              {{"ANSI_CHARSET", ANSI_CHARSET},
                               {"DEFAULT_CHARSET", DEFAULT_CHARSET},
                               {"SYMBOL_CHARSET", SYMBOL_CHARSET},
                               {"MAC_CHARSET", MAC_CHARSET},
                               {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
                               {"HANGEUL_CHARSET", HANGEUL_CHARSET},
                               {"JOHAB_CHARSET", JOHAB_CHARSET},
                               {"GB2312_CHARSET", GB2312_CHARSET},
                               {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
                               {"GREEK_CHARSET", GREEK_CHARSET},
                               {"TURKISH_CHARSET", TURKISH_CHARSET},
                               {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
                               {"HEBREW_CHARSET", HEBREW_CHARSET},
                               {"ARABIC_CHARSET", ARABIC_CHARSET},
                               {"BALTIC_CHARSET", BALTIC_CHARSET},
                               {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
                               {"THAI_CHARSET", THAI_CHARSET},
                               {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
                               {"OEM_CHARSET", OEM_CHARSET}}};

namespace {

[[noreturn]] void OutOfResources() {
    throw EOutOfResources("Out of system resources");
}

int ScreenPixelsPerInch() {
    const TWindowDC screen(nullptr);
    const int ppi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return ppi > 0 ? ppi : 96;
}

} // namespace

int PenModeToRop2(TPenMode mode) {
    static constexpr std::array<int, 16> rops = {
        R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,        R2_COPYPEN,  R2_NOTCOPYPEN,
        R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
        R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    const auto index = static_cast<std::size_t>(mode);
    return index < rops.size() ? rops[index] : R2_COPYPEN;
}

// ---- TGraphicsObject -----------------------------------------------------------------------

TClass TGraphicsObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGraphicsObject>("TGraphicsObject").Build();
    return &info;
}

void TGraphicsObject::Changed() {
    if (FOnChange)
        FOnChange(this);
}

// ---- TFont ---------------------------------------------------------------------------------

TClass TFont::StaticClass() {
    static const TClassInfo info = TClassBuilder<TFont>("TFont")
                                       .Int("Charset", &TFont::Charset, &TFont::SetCharset, &CharsetIdents)
                                       .Int("Color", &TFont::Color, &TFont::SetColor, &ColorIdents)
                                       .Int("Height", &TFont::Height, &TFont::SetHeight)
                                       .Str("Name", &TFont::Name, &TFont::SetName)
                                       .Int("Orientation", &TFont::Orientation, &TFont::SetOrientation)
                                       .Enum("Pitch", FontPitchType, &TFont::Pitch, &TFont::SetPitch)
                                       .Int("Size", &TFont::Size, &TFont::SetSize)
                                       .Set("Style", FontStyleType, &TFont::Style, &TFont::SetStyle)
                                       .Build();
    return &info;
}

TFont::TFont() : FName("MS Sans Serif"), FHeight(-11), FPixelsPerInch(ScreenPixelsPerInch()) {}

TFont::~TFont() = default;

void TFont::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TFont*>(source);
    if (!other) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (other == this)
        return;
    FName = other->FName;
    FHeight = other->FHeight;
    FStyle = other->FStyle;
    FPitch = other->FPitch;
    FCharset = other->FCharset;
    FOrientation = other->FOrientation;
    FColor = other->FColor;
    FPixelsPerInch = other->FPixelsPerInch;
    DescriptionChanged();
}

LOGFONTW TFont::LogFont() const {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfEscapement = FOrientation;
    lf.lfOrientation = FOrientation;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == fpFixed      ? FIXED_PITCH
                          : FPitch == fpVariable ? VARIABLE_PITCH
                                                 : DEFAULT_PITCH;
    const std::wstring face = AnsiToWide(FName);
    const std::size_t n = std::min(face.size(), std::size(lf.lfFaceName) - 1);
    std::copy_n(face.begin(), n, lf.lfFaceName);
    return lf;
}

HFONT TFont::Handle() {
    if (!FHandle || FStale) {
        const LOGFONTW lf = LogFont();
        HFONT font = CreateFontIndirectW(&lf);
        if (!font)
            OutOfResources();
        FHandle.Reset(font);
        FStale = false;
    }
    return FHandle.Get();
}

void TFont::SetHandle(HFONT font) {
    if (!font)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTW lf{};
    if (GetObjectW(font, sizeof lf, &lf) != sizeof lf)
        throw EInvalidGraphicOperation("Invalid font handle");
    FName = WideToAnsi(lf.lfFaceName);
    FHeight = lf.lfHeight;
    FStyle = {};
    if (lf.lfWeight >= FW_SEMIBOLD)
        FStyle.Include(fsBold);
    if (lf.lfItalic)
        FStyle.Include(fsItalic);
    if (lf.lfUnderline)
        FStyle.Include(fsUnderline);
    if (lf.lfStrikeOut)
        FStyle.Include(fsStrikeOut);
    FCharset = lf.lfCharSet;
    FOrientation = lf.lfEscapement;
    const int pitch = lf.lfPitchAndFamily & 3;
    FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
    DescriptionChanged();
}

void TFont::DescriptionChanged() {
    if (FHandle)
        FStale = true;
    Changed();
}

void TFont::SetName(const std::string& name) {
    if (name.empty() || name == FName)
        return;
    FName = name;
    DescriptionChanged();
}

void TFont::SetHeight(int height) {
    if (height == FHeight)
        return;
    FHeight = height;
    DescriptionChanged();
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, FPixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles style) {
    if (style == FStyle)
        return;
    FStyle = style;
    DescriptionChanged();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == FPitch)
        return;
    FPitch = pitch;
    DescriptionChanged();
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset == FCharset)
        return;
    FCharset = charset;
    DescriptionChanged();
}

void TFont::SetOrientation(int tenthsOfDegree) {
    if (tenthsOfDegree == FOrientation)
        return;
    FOrientation = tenthsOfDegree;
    DescriptionChanged();
}

void TFont::SetColor(TColor color) {
    if (color == FColor)
        return;
    FColor = color;
    Changed();
}

void TFont::SetPixelsPerInch(int pixelsPerInch) {
    if (pixelsPerInch > 0)
        FPixelsPerInch = pixelsPerInch;
}

// ---- TBrush --------------------------------------------------------------------------------

TClass TBrush::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBrush>("TBrush")
                                       .Int("Color", &TBrush::Color, &TBrush::SetColor, &ColorIdents)
                                       .Enum("Style", BrushStyleType, &TBrush::Style, &TBrush::SetStyle)
                                       .Build();
    return &info;
}

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TBrush*>(source);
    if (!other) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (other == this)
        return;
    FColor = other->FColor;
    FStyle = other->FStyle;
    if (other->FBitmap) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(other->FBitmap.get());
        FBitmap = std::move(copy);
    } else {
        FBitmap.reset();
    }
    DescriptionChanged();
}

HBRUSH TBrush::Create() {
    if (FBitmap && !FBitmap->Empty())
        return CreatePatternBrush(FBitmap->Handle());
    const COLORREF color = ColorToColorRef(FColor);
    switch (FStyle) {
    case bsSolid:
        return CreateSolidBrush(color);
    case bsHorizontal:
        return CreateHatchBrush(HS_HORIZONTAL, color);
    case bsVertical:
        return CreateHatchBrush(HS_VERTICAL, color);
    case bsFDiagonal:
        return CreateHatchBrush(HS_FDIAGONAL, color);
    case bsBDiagonal:
        return CreateHatchBrush(HS_BDIAGONAL, color);
    case bsCross:
        return CreateHatchBrush(HS_CROSS, color);
    case bsDiagCross:
        return CreateHatchBrush(HS_DIAGCROSS, color);
    case bsClear:
        break;
    }
    return nullptr;
}

HBRUSH TBrush::Handle() {
    if (FStale || (!FHandle && !FStock)) {
        FStale = false;
        if (FStyle == bsClear && !FBitmap) {
            FHandle.Reset();
            FStock = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        } else {
            HBRUSH brush = Create();
            if (!brush)
                OutOfResources();
            FHandle.Reset(brush);
            FStock = nullptr;
        }
    }
    return FStock ? FStock : FHandle.Get();
}

void TBrush::SetHandle(HBRUSH brush) {
    LOGBRUSH lb{};
    if (!brush || GetObjectW(brush, sizeof lb, &lb) != sizeof lb)
        throw EInvalidGraphicOperation("Invalid brush handle");
    FBitmap.reset();
    switch (lb.lbStyle) {
    case BS_HOLLOW:
        FStyle = bsClear;
        break;
    case BS_HATCHED: {
        static constexpr std::array<TBrushStyle, 6> hatches = {bsHorizontal, bsVertical, bsFDiagonal,
                                                               bsBDiagonal,  bsCross,    bsDiagCross};
        FStyle = lb.lbHatch < hatches.size() ? hatches[lb.lbHatch] : bsSolid;
        FColor = static_cast<TColor>(lb.lbColor);
        break;
    }
    case BS_PATTERN:
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(lb.lbHatch)) == OBJ_BITMAP) {
            auto copy = std::make_unique<TBitmap>();
            copy->AssignHandle(reinterpret_cast<HBITMAP>(lb.lbHatch));
            FBitmap = std::move(copy);
        }
        FStyle = bsSolid;
        break;
    default:
        FStyle = bsSolid;
        FColor = static_cast<TColor>(lb.lbColor);
        break;
    }
    DescriptionChanged();
}

void TBrush::DescriptionChanged() {
    if (FHandle || FStock)
        FStale = true;
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == FColor && FStyle != bsClear && !FBitmap)
        return;
    FColor = color;
    // Choosing a colour makes a clear brush solid again, as users of a canvas expect.
    if (FStyle == bsClear)
        FStyle = bsSolid;
    FBitmap.reset();
    DescriptionChanged();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == FStyle && !FBitmap)
        return;
    FStyle = style;
    FBitmap.reset();
    DescriptionChanged();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty()) {
        if (!FBitmap)
            return;
        FBitmap.reset();
    } else {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(bitmap);
        FBitmap = std::move(copy);
    }
    DescriptionChanged();
}

// ---- TPen ----------------------------------------------------------------------------------

TClass TPen::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPen>("TPen")
                                       .Int("Color", &TPen::Color, &TPen::SetColor, &ColorIdents)
                                       .Enum("Mode", PenModeType, &TPen::Mode, &TPen::SetMode)
                                       .Enum("Style", PenStyleType, &TPen::Style, &TPen::SetStyle)
                                       .Int("Width", &TPen::Width, &TPen::SetWidth)
                                       .Build();
    return &info;
}

TPen::TPen() = default;

void TPen::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TPen*>(source);
    if (!other) {
        TGraphicsObject::Assign(source);
        return;
    }
    if (other == this)
        return;
    FColor = other->FColor;
    FWidth = other->FWidth;
    FStyle = other->FStyle;
    FMode = other->FMode;
    DescriptionChanged();
}

HPEN TPen::Handle() {
    if (!FHandle || FStale) {
        static constexpr std::array<int, 7> styles = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                                      PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        HPEN pen = CreatePen(styles[static_cast<std::size_t>(FStyle)], FWidth, ColorToColorRef(FColor));
        if (!pen)
            OutOfResources();
        FHandle.Reset(pen);
        FStale = false;
    }
    return FHandle.Get();
}

void TPen::SetHandle(HPEN pen) {
    LOGPEN lp{};
    if (!pen || GetObjectW(pen, sizeof lp, &lp) != sizeof lp)
        throw EInvalidGraphicOperation("Invalid pen handle");
    static constexpr std::array<TPenStyle, 7> styles = {psSolid,      psDash,  psDot,        psDashDot,
                                                        psDashDotDot, psClear, psInsideFrame};
    FStyle = lp.lopnStyle < styles.size() ? styles[lp.lopnStyle] : psSolid;
    FWidth = std::max<int>(1, lp.lopnWidth.x);
    FColor = static_cast<TColor>(lp.lopnColor);
    DescriptionChanged();
}

void TPen::DescriptionChanged() {
    if (FHandle)
        FStale = true;
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color == FColor)
        return;
    FColor = color;
    DescriptionChanged();
}

void TPen::SetWidth(int width) {
    width = std::max(width, 0);
    if (width == FWidth)
        return;
    FWidth = width;
    DescriptionChanged();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == FStyle)
        return;
    FStyle = style;
    DescriptionChanged();
}

void TPen::SetMode(TPenMode mode) {
    if (mode == FMode)
        return;
    FMode = mode;
    Changed();
}
