// TBitmap: transparent drawing and masks read back pixel by pixel, every pixel format's scan
// lines, the BMP variants of the codec's samples, resources and the ownership of handles.
#include "BmpSamples.h"
#include "GdiCounter.h"
#include "GraphicsError.h"
#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace gfxtest;
using Rows = std::vector<std::string>;

namespace {

const TPixelFormat kFormats[] = {pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfDevice};

std::string FormatName(const testing::TestParamInfo<TPixelFormat>& info) {
    return PixelFormatType.Names[static_cast<std::size_t>(info.param)];
}

std::vector<std::uint8_t> Saved(TGraphic& graphic) {
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    return stream.Bytes();
}

void Load(TGraphic& graphic, const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    graphic.LoadFromStream(stream);
}

class BitmapFormats : public testing::TestWithParam<TPixelFormat> {};

} // namespace

// ---- transparency --------------------------------------------------------------------------

TEST_P(BitmapFormats, TransparentDrawKeepsTheDestinationWhereTheKeyColourWas) {
    auto glyph = Picture({"MRM", "GMB", "MMY"}, GetParam());
    glyph->SetTransparent(true);
    EXPECT_EQ(glyph->TransparentColor(), clFuchsia) << "the bottom-left pixel is the key";
    auto target = Filled(5, 5, clAqua);
    target->Canvas()->Draw(1, 1, glyph.get());
    EXPECT_EQ(Letters(*target->Canvas(), 5, 5), (Rows{"CCCCC", "CCRCC", "CGCBC", "CCCYC", "CCCCC"}));
}

TEST_P(BitmapFormats, MaskMarksExactlyTheKeyPixels) {
    auto picture = Picture({"MRMK", "WMMB", "MGYM"}, GetParam());
    picture->Mask(clFuchsia);
    EXPECT_EQ(picture->PixelFormat(), pf1bit);
    EXPECT_TRUE(picture->Monochrome());
    EXPECT_EQ(Letters(*picture->Canvas(), 4, 3), (Rows{"WKWK", "KWWK", "WKKW"}));
    // The bits themselves: 1 for key pixels, the first pixel in the high bit.
    EXPECT_EQ(static_cast<std::uint8_t*>(picture->ScanLine(0))[0] & 0xF0, 0xA0);
    EXPECT_EQ(static_cast<std::uint8_t*>(picture->ScanLine(2))[0] & 0xF0, 0x90);
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapFormats, testing::ValuesIn(kFormats), FormatName);

TEST(BitmapTransparency, StretchedDrawScalesPictureAndMaskAlike) {
    auto glyph = Picture({"RM", "MB"});
    glyph->SetTransparent(true);
    auto target = Filled(4, 4, clYellow);
    target->Canvas()->StretchDraw(Rect(0, 0, 4, 4), glyph.get());
    EXPECT_EQ(Letters(*target->Canvas(), 4, 4), (Rows{"RRYY", "RRYY", "YYBB", "YYBB"}));
}

TEST(BitmapTransparency, FixedColourAndOpaqueDrawing) {
    auto glyph = Picture({"RM", "MB"});
    glyph->SetTransparent(true);
    glyph->SetTransparentColor(clRed);
    EXPECT_EQ(glyph->TransparentMode(), tmFixed);
    auto target = Filled(2, 2, clYellow);
    target->Canvas()->Draw(0, 0, glyph.get());
    EXPECT_EQ(Letters(*target->Canvas(), 2, 2), (Rows{"YM", "MB"}));

    glyph->SetTransparent(false);
    target->Canvas()->Draw(0, 0, glyph.get());
    EXPECT_EQ(Letters(*target->Canvas(), 2, 2), (Rows{"RM", "MB"}));

    glyph->SetTransparentMode(tmAuto);
    EXPECT_EQ(glyph->TransparentColor(), clFuchsia);
}

TEST(BitmapTransparency, NoTransparentColourKeepsEveryPixel) {
    auto glyph = Picture({"KM", "MK"});
    glyph->SetTransparent(true);
    glyph->SetTransparentColor(clNone);
    auto target = Filled(2, 2, clYellow);
    target->Canvas()->Draw(0, 0, glyph.get());
    EXPECT_EQ(Letters(*target->Canvas(), 2, 2), (Rows{"KM", "MK"}));
}

TEST(BitmapTransparency, NearKeyColoursStayOpaque) {
    auto picture = Picture({"MM", "MM"});
    picture->Canvas()->SetPixels(1, 0, RGBColor(254, 0, 255));
    picture->Canvas()->SetPixels(0, 1, RGBColor(255, 1, 255));
    picture->Mask(clFuchsia);
    EXPECT_EQ(Letters(*picture->Canvas(), 2, 2), (Rows{"WK", "KW"}));
}

// The skin engine's own transparent blit: MaskBlt with a Mask()ed copy as the mask.
TEST(BitmapTransparency, MaskedCopyWorksAsMaskBltMask) {
    auto image = Picture({"RMG", "MBM"});
    TBitmap mask;
    mask.Assign(image.get());
    mask.Mask(clFuchsia);
    auto target = Filled(3, 2, clYellow);
    ASSERT_TRUE(MaskBlt(target->Canvas()->Handle(), 0, 0, 3, 2, image->Canvas()->Handle(), 0, 0,
                        mask.Handle(), 0, 0, MAKEROP4(0x00AA0029, SRCCOPY)));
    EXPECT_EQ(Letters(*target->Canvas(), 3, 2), (Rows{"RYG", "YBY"}));
}

// A picture changed through its scan lines is drawn with its new key and mask.
TEST(BitmapTransparency, ScanLineWritesRenewTheMask) {
    auto glyph = Picture({"MR", "MM"});
    glyph->SetTransparent(true);
    auto target = Filled(2, 2, clYellow);
    target->Canvas()->Draw(0, 0, glyph.get());
    EXPECT_EQ(Letters(*target->Canvas(), 2, 2), (Rows{"YR", "YY"}));

    auto* bottom = static_cast<std::uint8_t*>(glyph->ScanLine(1));
    bottom[0] = 0x00, bottom[1] = 0x00, bottom[2] = 0xFF; // bottom-left becomes red: the new key
    EXPECT_EQ(glyph->TransparentColor(), clRed);
    target->Canvas()->FillRect(Rect(0, 0, 2, 2));
    target->Canvas()->Draw(0, 0, glyph.get());
    EXPECT_EQ(Letters(*target->Canvas(), 2, 2), (Rows{"MY", "YM"}));
}

// ---- formats, scan lines and size ----------------------------------------------------------

TEST(BitmapFormat, ScanLinesHoldEachFormatsPixelLayout) {
    auto picture = Picture({"RKK", "KKB"});
    auto row = [&](int y) { return static_cast<std::uint8_t*>(picture->ScanLine(y)); };
    EXPECT_EQ(picture->BitsPerPixel(), 24);
    EXPECT_EQ((std::vector<int>{row(0)[0], row(0)[1], row(0)[2]}), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ((std::vector<int>{row(1)[6], row(1)[7], row(1)[8]}), (std::vector<int>{255, 0, 0}));

    picture->SetPixelFormat(pf32bit);
    EXPECT_EQ(row(1)[8], 255);
    EXPECT_EQ(row(1)[10], 0);
    picture->SetPixelFormat(pf16bit);
    EXPECT_EQ(row(0)[0] | row(0)[1] << 8, 0xF800);
    picture->SetPixelFormat(pf15bit);
    EXPECT_EQ(row(0)[0] | row(0)[1] << 8, 0x7C00);
    picture->SetPixelFormat(pf4bit);
    EXPECT_EQ(row(0)[0] >> 4, 9) << "red is entry 9 of the 16 standard colours";
    picture->SetPixelFormat(pf1bit);
    EXPECT_EQ(Letters(*picture->Canvas(), 3, 2), (Rows{"KKK", "KKK"})) << "dark colours become black";
}

TEST(BitmapFormat, ConversionsKeepStandardColoursAndChooseNearestOthers) {
    auto picture = Picture({"RGBYMCKW"});
    for (TPixelFormat format : {pf8bit, pf4bit, pf16bit, pf15bit, pf32bit, pf24bit}) {
        picture->SetPixelFormat(format);
        EXPECT_EQ(Letters(*picture->Canvas(), 8, 1), (Rows{"RGBYMCKW"})) << FormatName({format, 0});
    }
    picture->Canvas()->SetPixels(0, 0, RGBColor(200, 200, 200));
    picture->Canvas()->SetPixels(1, 0, RGBColor(60, 60, 60));
    picture->SetPixelFormat(pf1bit);
    EXPECT_EQ(Letters(*picture->Canvas(), 2, 1), (Rows{"WK"}));
}

TEST(BitmapFormat, ScanLineOutsideThePictureIsRefused) {
    auto picture = Picture({"RG", "BY"});
    EXPECT_THROW(picture->ScanLine(-1), EInvalidGraphicOperation);
    EXPECT_THROW(picture->ScanLine(2), EInvalidGraphicOperation);
    EXPECT_NE(picture->ScanLine(1), nullptr);
}

TEST(BitmapFormat, ScanLineZeroIsTheTopRow) {
    auto picture = Picture({"KK", "KK", "KK"});
    auto* top = static_cast<std::uint8_t*>(picture->ScanLine(0));
    top[0] = 0xFF; // blue byte of the first pixel
    EXPECT_EQ(picture->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(picture->PixelView().Row(2), static_cast<std::uint8_t*>(picture->ScanLine(2)));
}

TEST(BitmapFormat, ResizingKeepsTheTopLeftAndAddsWhite) {
    auto picture = Picture({"RG", "BY"}, pf8bit);
    picture->SetSize(3, 3);
    EXPECT_EQ(picture->PixelFormat(), pf8bit);
    EXPECT_EQ(Letters(*picture->Canvas(), 3, 3), (Rows{"RGW", "BYW", "WWW"}));
    picture->SetWidth(1);
    EXPECT_EQ(Letters(*picture->Canvas(), 1, 3), (Rows{"R", "B", "W"}));
    picture->SetHeight(0);
    EXPECT_TRUE(picture->Empty());
    EXPECT_EQ(picture->Handle(), nullptr);
}

TEST(BitmapFormat, EmptyBitmapsDrawAndSaveNothing) {
    TBitmap empty;
    auto target = Filled(2, 2, clLime);
    target->Canvas()->Draw(0, 0, &empty);
    EXPECT_EQ(Letters(*target->Canvas(), 2, 2), (Rows{"GG", "GG"}));
    EXPECT_TRUE(Saved(empty).empty());
    EXPECT_EQ(empty.MaskHandle(), nullptr);
}

// ---- files, streams and resources ----------------------------------------------------------

TEST(BitmapFiles, EveryBmpVariantLoadsWithTheSamePixels) {
    for (const bmpsamples::TSample& sample : bmpsamples::AllSamples()) {
        if (sample.PackedDib)
            continue;
        SCOPED_TRACE(sample.Name);
        TBitmap bitmap;
        ASSERT_NO_THROW(Load(bitmap, sample.Bytes));
        ASSERT_EQ(bitmap.Width(), sample.Width);
        ASSERT_EQ(bitmap.Height(), sample.Height);
        if (sample.BitsPerPixel <= 8) {
            EXPECT_EQ(bitmap.BitsPerPixel(), sample.BitsPerPixel) << "indexed pictures keep their depth";
        }
        for (int y = 0; y < sample.Height; ++y)
            for (int x = 0; x < sample.Width; ++x) {
                const bmpsamples::TRgb& want =
                    sample.Expected[static_cast<std::size_t>(y * sample.Width + x)];
                EXPECT_EQ(bitmap.Canvas()->Pixels(x, y), RGBColor(want.R, want.G, want.B)) << x << "," << y;
            }
    }
}

TEST(BitmapFiles, SavedBitmapsLoadBackUnchanged) {
    for (TPixelFormat format : kFormats) {
        auto picture = Picture({"RGBY", "MCKW"}, format);
        TBitmap copy;
        Load(copy, Saved(*picture));
        EXPECT_EQ(copy.BitsPerPixel(), picture->BitsPerPixel());
        EXPECT_EQ(Letters(*copy.Canvas(), 4, 2), (Rows{"RGBY", "MCKW"})) << FormatName({format, 0});
    }
}

TEST(BitmapFiles, LoadingStopsAtTheEndOfTheFile) {
    auto picture = Picture({"RG"});
    std::vector<std::uint8_t> bytes = Saved(*picture);
    const auto fileSize = static_cast<std::int64_t>(bytes.size());
    bytes.insert(bytes.end(), {'T', 'A', 'I', 'L'});
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), fileSize);
}

TEST(BitmapFiles, DamagedDataIsRefusedAndThePictureKept) {
    auto picture = Picture({"RG", "BY"});
    std::vector<std::uint8_t> truncated = Saved(*Picture({"KKKK", "KKKK", "KKKK"}));
    truncated.resize(truncated.size() - 10);
    EXPECT_THROW(Load(*picture, truncated), EInvalidGraphic);
    EXPECT_THROW(Load(*picture, {'B', 'M', 1}), EInvalidGraphic);
    EXPECT_THROW(Load(*picture, {'P', 'K', 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
                 EInvalidGraphic);
    EXPECT_EQ(Letters(*picture->Canvas(), 2, 2), (Rows{"RG", "BY"}));
}

TEST(BitmapFiles, FormDataCarriesItsLength) {
    auto picture = Picture({"RG", "BY"});
    TMemoryStream stream;
    picture->WriteData(stream);
    stream.WriteUInt32LE(0xDEADBEEF);
    stream.SetPosition(0);
    TBitmap copy;
    copy.ReadData(stream);
    EXPECT_EQ(Letters(*copy.Canvas(), 2, 2), (Rows{"RG", "BY"}));
    EXPECT_EQ(stream.ReadUInt32LE(), 0xDEADBEEFu);

    TMemoryStream lying;
    lying.WriteUInt32LE(1000);
    lying.WriteUInt32LE(0);
    lying.SetPosition(0);
    EXPECT_THROW(copy.ReadData(lying), EInvalidGraphic);
}

TEST(BitmapFiles, ResourcesLoadByName) {
    TBitmap strip;
    strip.LoadFromResourceName(GetModuleHandleW(nullptr), "STRIP");
    EXPECT_EQ(strip.Width(), 48);
    EXPECT_EQ(strip.Height(), 16);
    EXPECT_EQ(strip.Canvas()->Pixels(5, 5), clRed);
    EXPECT_EQ(strip.Canvas()->Pixels(37, 11), clBlue);
    EXPECT_EQ(strip.TransparentColor(), clFuchsia);

    TBitmap glyphs;
    glyphs.LoadFromResourceName(GetModuleHandleW(nullptr), "GLYPHS");
    EXPECT_TRUE(glyphs.Monochrome());
    EXPECT_EQ(glyphs.Canvas()->Pixels(5, 7), clBlack);
    EXPECT_THROW(strip.LoadFromResourceName(GetModuleHandleW(nullptr), "NOSUCHBITMAP"), EResNotFound);
    EXPECT_EQ(strip.Width(), 48);
}

// ---- copies and handles --------------------------------------------------------------------

TEST(BitmapHandles, AssignMakesAnIndependentCopy) {
    auto original = Picture({"RG", "BM"}, pf8bit);
    original->SetTransparent(true);
    original->SetTransparentColor(clBlue);
    TBitmap copy;
    copy.Assign(original.get());
    copy.Canvas()->SetPixels(0, 0, clYellow);
    EXPECT_EQ(original->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(copy.PixelFormat(), pf8bit);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clBlue);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(BitmapHandles, ForeignHandlesAreCopiedOrTakenOver) {
    TGdiBalance balance;
    const std::uint8_t rows[4] = {0xF0, 0, 0x0F, 0}; // 8 x 2 monochrome, rows padded to 16 bits
    HBITMAP mono = CreateBitmap(8, 2, 1, 1, rows);
    {
        TBitmap copy;
        copy.AssignHandle(mono);
        EXPECT_TRUE(copy.Monochrome());
        EXPECT_EQ(Letters(*copy.Canvas(), 8, 2), (Rows{"WWWWKKKK", "KKKKWWWW"}));
        EXPECT_EQ(GetObjectType(mono), static_cast<DWORD>(OBJ_BITMAP)) << "a copied handle stays its owner's";

        TBitmap owner;
        owner.SetHandle(mono);
        EXPECT_EQ(Letters(*owner.Canvas(), 8, 1), (Rows{"WWWWKKKK"}));
    }
    EXPECT_TRUE(gdicount::WasFreed(mono)) << "a handle taken over is freed with the bitmap";
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

TEST(BitmapHandles, ReleasedAndDormantPicturesLiveOn) {
    TGdiBalance balance;
    {
        auto picture = Picture({"RG", "BY"});
        HBITMAP released = picture->ReleaseHandle();
        ASSERT_NE(released, nullptr);
        EXPECT_FALSE(picture->HandleAllocated());
        EXPECT_EQ(Letters(*picture->Canvas(), 2, 2), (Rows{"RG", "BY"}));
        TBitmap viaHandle;
        viaHandle.SetHandle(released);
        EXPECT_EQ(Letters(*viaHandle.Canvas(), 2, 2), (Rows{"RG", "BY"}));

        picture->Dormant();
        EXPECT_FALSE(picture->HandleAllocated());
        EXPECT_EQ(picture->TransparentColor(), clBlue);
        EXPECT_EQ(Letters(*picture->Canvas(), 2, 2), (Rows{"RG", "BY"}));
        EXPECT_TRUE(picture->HandleAllocated());
    }
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

TEST(BitmapHandles, HandleIsFreeToSelectElsewhere) {
    auto picture = Picture({"RG"});
    picture->Canvas()->Handle();
    HBITMAP handle = picture->Handle();
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.Get(), handle);
    ASSERT_NE(old, nullptr) << "the canvas let go of the bitmap";
    EXPECT_EQ(GetPixel(dc.Get(), 1, 0), static_cast<COLORREF>(clLime));
    SelectObject(dc.Get(), old);
}

TEST(BitmapHandles, TheCanvasKeepsItsStretchModeAcrossNewHandles) {
    TBitmap work;
    work.SetSize(4, 4);
    SetStretchBltMode(work.Canvas()->Handle(), COLORONCOLOR);
    work.SetSize(8, 8);
    work.Handle();
    EXPECT_EQ(GetStretchBltMode(work.Canvas()->Handle()), COLORONCOLOR);
}

TEST(BitmapHandles, BusyBitmapsLeaveNoGdiObjectsBehind) {
    TGdiBalance balance;
    for (int i = 0; i < 20; ++i) {
        auto glyph = Picture({"MRM", "GMB", "MMY"}, kFormats[i % std::size(kFormats)]);
        glyph->SetTransparent(true);
        auto target = Filled(8, 8, clAqua);
        target->Canvas()->Font()->SetHeight(-9 - i % 3);
        target->Canvas()->TextOut(0, 0, "Ab");
        target->Canvas()->StretchDraw(Rect(0, 0, 6, 6), glyph.get());
        glyph->MaskHandle();
        glyph->SetPixelFormat(pf8bit);
        glyph->SetSize(4, 4);
        glyph->Dormant();
        TBitmap mask;
        mask.Assign(glyph.get());
        mask.Mask(clFuchsia);
    }
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}
