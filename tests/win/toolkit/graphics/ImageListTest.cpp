// TImageList over comctl32: strips added with a mask colour or a mask, transparent and
// disabled drawing read back pixel by pixel, shared lists that are not destroyed, change
// links and the form data.
#include "GdiCounter.h"
#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <shellapi.h>

using namespace gfxtest;
using Rows = std::vector<std::string>;

namespace {

HINSTANCE Self() {
    return GetModuleHandleW(nullptr);
}

// The test program's STRIP resource: three 16 x 16 images on magenta, a red, a lime and a
// blue square from (4, 4) to (11, 11).
std::unique_ptr<TBitmap> Strip() {
    auto strip = std::make_unique<TBitmap>();
    strip->LoadFromResourceName(Self(), "STRIP");
    return strip;
}

struct TChangeCounter {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
};

} // namespace

TEST(ImageList, MaskedStripDrawsEachImageTransparently) {
    TGdiBalance balance;
    {
        TImageList list(nullptr);
        auto strip = Strip();
        EXPECT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);
        EXPECT_EQ(list.Count(), 3);
        EXPECT_EQ(strip->Canvas()->Pixels(0, 0), clFuchsia) << "the caller's picture is not changed";

        auto target = Filled(16, 16, clAqua);
        list.Draw(target->Canvas(), 0, 0, 1);
        const Rows drawn = Letters(*target->Canvas(), 16, 16);
        EXPECT_EQ(drawn[0], std::string(16, 'C'));
        EXPECT_EQ(drawn[5], "CCCCGGGGGGGGCCCC");
        EXPECT_EQ(drawn[15], std::string(16, 'C'));

        list.Draw(target->Canvas(), 0, 0, 7); // no such image: nothing drawn
        EXPECT_EQ(Letters(*target->Canvas(), 16, 16), drawn);
    }
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

TEST(ImageList, ExplicitMasksMarkTransparentPixelsWhite) {
    TImageList list(nullptr);
    list.SetSize(2, 2);
    auto image = Picture({"RG", "BY"});
    auto mask = Picture({"KW", "WK"});
    EXPECT_EQ(list.Add(image.get(), mask.get()), 0);
    auto target = Filled(2, 2, clFuchsia);
    list.Draw(target->Canvas(), 0, 0, 0);
    EXPECT_EQ(Letters(*target->Canvas(), 2, 2), (Rows{"RM", "MY"}));
}

TEST(ImageList, DisabledImagesAreEngraved) {
    TImageList list(nullptr);
    ASSERT_TRUE(list.ResourceLoad(Self(), "GLYPHS", clWhite));
    ASSERT_EQ(list.Count(), 2);
    auto target = Filled(16, 16, clAqua);
    list.Draw(target->Canvas(), 0, 0, 0, false);
    // The glyph's bar (rows 7 and 8, columns 2 to 13) in the shadow colour, its highlight
    // one pixel lower and further right, the rest untouched.
    TCanvas& c = *target->Canvas();
    EXPECT_EQ(c.Pixels(5, 7), ColorToRGB(clBtnShadow));
    EXPECT_EQ(c.Pixels(5, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(c.Pixels(5, 9), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(c.Pixels(14, 9), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(c.Pixels(5, 6), clAqua);
    EXPECT_EQ(c.Pixels(0, 0), clAqua);
    EXPECT_EQ(c.Pixels(15, 15), clAqua);
}

TEST(ImageList, MissingResourcesAreReported) {
    TImageList list(nullptr);
    EXPECT_FALSE(list.ResourceLoad(Self(), "NOSUCHBITMAP", clWhite));
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, SharedListsAreShownButNotDestroyed) {
    TGdiBalance balance;
    SHFILEINFOA info{};
    auto system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_ICON | SHGFI_SMALLICON));
    ASSERT_NE(system, nullptr);
    if (info.hIcon)
        DestroyIcon(info.hIcon);
    {
        TImageList list(nullptr);
        list.SetShareImages(true);
        list.SetHandle(system);
        EXPECT_EQ(list.Handle(), system);
        EXPECT_GT(list.Count(), 0);
        EXPECT_EQ(list.Width(), GetSystemMetrics(SM_CXSMICON));
    }
    EXPECT_FALSE(gdicount::WasFreed(system));

    HIMAGELIST own = ImageList_Create(8, 8, ILC_COLOR24, 1, 1);
    {
        TImageList list(nullptr);
        list.SetHandle(own);
        EXPECT_EQ(list.Width(), 8);
    }
    EXPECT_TRUE(gdicount::WasFreed(own)) << "a list handed over without sharing is destroyed";
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

TEST(ImageList, ChangeLinksHearOfChangesUntilEitherSideGoes) {
    TChangeCounter counter;
    auto list = std::make_unique<TImageList>(nullptr);
    {
        TChangeLink link;
        link.SetOnChange(TNotifyEvent(&counter, &TChangeCounter::Changed));
        list->RegisterChanges(&link);
        EXPECT_EQ(link.Sender(), list.get());
        list->AddMasked(Strip().get(), clFuchsia);
        list->Delete(0);
        EXPECT_EQ(counter.Count, 2);
    }
    list->Clear(); // the link is gone: nothing to tell
    TChangeLink survivor;
    list->RegisterChanges(&survivor);
    list.reset();
    EXPECT_EQ(survivor.Sender(), nullptr);
}

TEST(ImageList, IndexesAreChecked) {
    TImageList list(nullptr);
    list.AddMasked(Strip().get(), clFuchsia);
    EXPECT_THROW(list.Delete(3), EInvalidOperation);
    EXPECT_THROW(list.Replace(-1, nullptr, nullptr), EInvalidOperation);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 2);

    TBitmap image;
    EXPECT_FALSE(list.GetBitmap(2, &image));
    ASSERT_TRUE(list.GetBitmap(1, &image));
    EXPECT_EQ(image.Width(), 16);
    EXPECT_EQ(image.Canvas()->Pixels(5, 5), clBlue);
    EXPECT_EQ(image.Canvas()->Pixels(0, 0), clWhite);
}

TEST(ImageList, FormDataRestoresTheImages) {
    TImageList original(nullptr);
    original.AddMasked(Strip().get(), clFuchsia);
    TMemoryStream stream;
    original.WriteData(stream);
    stream.SetPosition(0);

    TImageList copy(nullptr);
    copy.SetSize(8, 8);
    copy.ReadData(stream);
    EXPECT_EQ(copy.Width(), 16);
    EXPECT_EQ(copy.Count(), 3);
    auto target = Filled(16, 16, clYellow);
    copy.Draw(target->Canvas(), 0, 0, 2);
    EXPECT_EQ(target->Canvas()->Pixels(5, 5), clBlue);
    EXPECT_EQ(target->Canvas()->Pixels(1, 1), clYellow);

    TMemoryStream garbage;
    garbage.WriteUInt32LE(0x12345678);
    garbage.SetPosition(0);
    EXPECT_THROW(copy.ReadData(garbage), EInvalidGraphic);
    EXPECT_EQ(copy.Count(), 3);
}

TEST(ImageList, AssignCopiesTheImages) {
    TImageList original(nullptr);
    original.AddMasked(Strip().get(), clFuchsia);
    TImageList copy(nullptr);
    copy.Assign(&original);
    original.Clear();
    EXPECT_EQ(copy.Count(), 3);
    EXPECT_NE(copy.Handle(), original.Handle());
}
