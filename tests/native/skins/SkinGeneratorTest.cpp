// The generator's building blocks: bitmap files, flattening onto the key colour, frame strips,
// the skin model's name rules and the INI writer.
#include "BmpDecoder.h"
#include "SkinModel.h"
#include "SkinPalette.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

TEST(SkinBitmap, FilesKeepEveryPixelWhateverTheRowPadding) {
    for (int width : {1, 2, 3, 5, 13}) {
        TSkinBitmap bmp(width, 3, TRgb{1, 2, 3});
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                bmp.Set(x, y, TRgb{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 50), 200});
        const TBmpImage decoded = DecodeBmp(bmp.EncodeBmp());
        ASSERT_EQ(decoded.Width, width);
        ASSERT_EQ(decoded.Height, 3);
        EXPECT_EQ(decoded.BitsPerPixel, 24);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) {
                const TRgbQuad c = PixelColor(decoded, x, y);
                EXPECT_EQ((TRgb{c.Red, c.Green, c.Blue}), bmp.At(x, y)) << width << ": " << x << "," << y;
            }
    }
}

TEST(SkinBitmap, FlattenKeysUncoveredPixelsAndBlendsEdgesOverWhatLiesBelow) {
    art::Image img(3, 1);
    img.Fill(art::RoundRect(1, 0, 2, 1, 0), art::Solid(art::Color::Rgb(0, 0, 0)));    // pixel 1 covered
    img.Fill(art::RoundRect(2, 0, 2.5f, 1, 0), art::Solid(art::Color::Rgb(0, 0, 0))); // pixel 2 half covered
    const TSkinBitmap flat = Flatten(img, art::Color::Rgb(200, 100, 0));
    EXPECT_EQ(flat.At(0, 0), KeyColour);
    EXPECT_EQ(flat.At(1, 0), (TRgb{0, 0, 0}));
    EXPECT_EQ(flat.At(2, 0), (TRgb{100, 50, 0}));
    // With a threshold, thin edges are cut too; without one nothing is keyed.
    EXPECT_EQ(Flatten(img, art::Color::Rgb(200, 100, 0), 0.6f).At(2, 0), KeyColour);
    EXPECT_EQ(Flatten(img, art::Color::Rgb(200, 100, 0), -1).At(0, 0), (TRgb{200, 100, 0}));
}

TEST(SkinBitmap, PaintedPixelsNeverReadAsTheKeyColour) {
    // A magenta accent must not punch holes: painted pixels stay visible.
    art::Image img(2, 1);
    img.Fill(art::RoundRect(0, 0, 2, 1, 0), art::Solid(art::Color::Rgb(255, 0, 255)));
    const TSkinBitmap flat = Flatten(img, art::Color::Rgb(255, 1, 255), -1);
    for (int x = 0; x < 2; ++x) {
        EXPECT_FALSE(IsKeyLike(flat.At(x, 0)));
        EXPECT_NE(flat.At(x, 0), KeyColour);
    }
}

TEST(SkinBitmap, FrameStripsAndCropsKeepTheirGeometry) {
    const TSkinBitmap a(2, 3, TRgb{1, 1, 1}), b(2, 3, TRgb{2, 2, 2});
    const TSkinBitmap side = SideBySide({a, b});
    EXPECT_EQ(side.Width(), 4);
    EXPECT_EQ(side.At(3, 2), (TRgb{2, 2, 2}));
    EXPECT_EQ(side.Crop(2, 0, 2, 3), b);
    const TSkinBitmap stacked = Stacked({a, b});
    EXPECT_EQ(stacked.Height(), 6);
    EXPECT_EQ(stacked.At(0, 3), (TRgb{2, 2, 2}));
    EXPECT_THROW(SideBySide({a, TSkinBitmap(3, 3)}), std::invalid_argument);
    EXPECT_THROW(side.Crop(3, 0, 2, 1), std::out_of_range);

    TSkinBitmap dst(3, 1, TRgb{9, 9, 9});
    TSkinBitmap src(2, 1);
    src.Set(1, 0, TRgb{4, 4, 4});
    dst.BlitTransparent(src, 1, 0);
    EXPECT_EQ(dst.At(1, 0), (TRgb{9, 9, 9})) << "the key colour leaves the destination alone";
    EXPECT_EQ(dst.At(2, 0), (TRgb{4, 4, 4}));
}

TEST(SkinModel, ImagesNeedPlainLowerCaseBmpNamesAndWholeFrames) {
    TSkin skin;
    const TSkinBitmap strip(12, 4);
    EXPECT_EQ(skin.AddImage({"strip.bmp", strip, 3, false, "1, 2, 3"}), "strip.bmp");
    EXPECT_THROW(skin.AddImage({"strip.bmp", strip, 3, false, ""}), std::invalid_argument);
    EXPECT_THROW(skin.AddImage({"Upper.bmp", strip, 1, false, ""}), std::invalid_argument);
    EXPECT_THROW(skin.AddImage({"shout.BMP", strip, 1, false, ""}), std::invalid_argument);
    EXPECT_THROW(skin.AddImage({"dir/name.bmp", strip, 1, false, ""}), std::invalid_argument);
    EXPECT_THROW(skin.AddImage({"five.bmp", strip, 5, false, ""}), std::invalid_argument);
    EXPECT_THROW(skin.AddImage({"tall.bmp", strip, 3, true, ""}), std::invalid_argument);
}

TEST(SkinModel, IniTextHasCrLfLinesAndNotesEachBitmapAboveItsSection) {
    TSkin skin;
    skin.Section("Empty");
    const std::string name = skin.AddImage({"b.bmp", TSkinBitmap(10, 2), 5, false, "1 a, 2 b"});
    skin.Section("Buttons").Set("Bitmap", name).Set("Trans", 1).Set("Trans", 0);
    const std::string text = IniText(skin);
    EXPECT_EQ(text.find("[Empty]"), std::string::npos) << "sections without keys are left out";
    EXPECT_NE(text.find("; b.bmp: 10 x 2, 5 frames of 2 x 2 side by side; 1 a, 2 b\r\n[Buttons]\r\n"
                        "Bitmap=b.bmp\r\nTrans=0\r\n"),
              std::string::npos)
        << text;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "line ending at " << i;
        }
    EXPECT_NE(LegendText(skin).find("b.bmp  10 x 2, 5 frames of 2 x 2 side by side"), std::string::npos);
}

TEST(SkinPalette, HexColoursAreSixDigitsWithAnOptionalHash) {
    const auto c = ParseHexColour("#1E6fD9");
    ASSERT_TRUE(c);
    EXPECT_EQ(ToRgb(*c), (TRgb{0x1E, 0x6F, 0xD9}));
    EXPECT_TRUE(ParseHexColour("000000"));
    for (const char* bad : {"", "#", "12345", "1234567", "12345G", "##123456", " 123456"})
        EXPECT_FALSE(ParseHexColour(bad)) << bad;
    EXPECT_EQ(IniColour(art::Color::Rgb(30, 111, 217)), "30 111 217");
}

TEST(SkinPalette, InkFollowsTheBrightnessOfWhatItIsDrawnOn) {
    auto luminance = [](const art::Color& c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; };
    for (const char* accent : {"1E6FD9", "2EA043", "F2C230", "FFFFFF", "000000"})
        for (const char* title : {"1E6FD9", "E9EDF2", "3A3F4B", "FFFF00"}) {
            TSkinColours colours;
            colours.Accent = *ParseHexColour(accent);
            colours.Title = *ParseHexColour(title);
            const TSkinPalette p = MakePalette(colours);
            EXPECT_GT(std::abs(luminance(p.OnAccent) - luminance(p.Accent)), 0.3f) << accent;
            EXPECT_GT(std::abs(luminance(p.TitleGlyph) - luminance(p.TitleBottom)), 0.3f) << title;
        }
}

} // namespace
