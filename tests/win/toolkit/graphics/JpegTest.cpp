// TJPEGImage decoding libjpeg-turbo's own test picture to reference pixels (an independent
// decoder's and libjpeg-turbo's published checksums), its settings, damaged data, encoding,
// and TPicture holding pictures of every kind.
#include "GdiCounter.h"
#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include <wincrypt.h>

using namespace gfxtest;

namespace {

// testorig.jpg from libjpeg-turbo's test images (227 x 149), a resource of this program.
std::unique_ptr<TJPEGImage> TestOrig() {
    TResourceStream stream(GetModuleHandleW(nullptr), "TESTORIG");
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromStream(stream);
    return jpeg;
}

std::string Md5(const std::string& data) {
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    BYTE digest[16] = {};
    DWORD length = sizeof digest;
    const bool ok =
        CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) &&
        CryptCreateHash(provider, CALG_MD5, 0, 0, &hash) &&
        CryptHashData(hash, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()), 0) &&
        CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0);
    if (hash)
        CryptDestroyHash(hash);
    if (provider)
        CryptReleaseContext(provider, 0);
    if (!ok)
        return "no MD5 available";
    std::string hex;
    for (BYTE b : digest)
        hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
    return hex;
}

// The picture as the binary PPM file djpeg writes, so its MD5 compares with djpeg's.
std::string Ppm(TBitmap& bitmap) {
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    std::string ppm =
        "P6\n" + std::to_string(bitmap.Width()) + " " + std::to_string(bitmap.Height()) + "\n255\n";
    for (int y = 0; y < bitmap.Height(); ++y) {
        const auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < bitmap.Width(); ++x)
            ppm += {static_cast<char>(row[3 * x + 2]), static_cast<char>(row[3 * x + 1]),
                    static_cast<char>(row[3 * x])};
    }
    return ppm;
}

// Mean difference per channel between two pictures of the same size.
double MeanDifference(TBitmap& a, TBitmap& b) {
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const TColor p = a.Canvas()->Pixels(x, y);
            const TColor q = b.Canvas()->Pixels(x, y);
            sum += std::abs(RedOf(p) - RedOf(q)) + std::abs(GreenOf(p) - GreenOf(q)) +
                   std::abs(BlueOf(p) - BlueOf(q));
        }
    return sum / (3.0 * a.Width() * a.Height());
}

std::vector<std::uint8_t> Bytes(TStream& stream) {
    TMemoryStream copy;
    copy.CopyFrom(stream, 0);
    return copy.Bytes();
}

} // namespace

// Reference: `djpeg -dct int -ppm testorig.jpg | md5sum` with Debian's libjpeg-turbo 2.1.5,
// and ImageMagick's `convert testorig.jpg ppm:-`, both give this.
TEST(JpegImage, DecodesTheTestPictureToTheReferencePixels) {
    auto jpeg = TestOrig();
    EXPECT_EQ(jpeg->Width(), 227) << "known from the header before decoding";
    EXPECT_EQ(jpeg->Height(), 149);
    TBitmap* bitmap = jpeg->Bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 227);
    EXPECT_EQ(bitmap->Height(), 149);
    EXPECT_EQ(Md5(Ppm(*bitmap)), "dea1d7bbc37e39adf628342c86096641");
}

// libjpeg-turbo's own test list gives this MD5 (MD5_PPM_420M_ISLOW_1_2) for testorig.jpg
// decoded at half size.
TEST(JpegImage, HalfScaleMatchesLibjpegTurbosPublishedChecksum) {
    auto jpeg = TestOrig();
    jpeg->Bitmap();
    jpeg->SetScale(jsHalf);
    EXPECT_EQ(jpeg->Width(), 114);
    EXPECT_EQ(jpeg->Height(), 75);
    EXPECT_EQ(Md5(Ppm(*jpeg->Bitmap())), "e692a315cea26b988c8e8b29a5dbcd81");
    jpeg->SetScale(jsEighth);
    EXPECT_EQ(jpeg->Bitmap()->Width(), 29);
}

TEST(JpegImage, GreyAndEightBitPicturesStayCloseToTheFullOne) {
    auto full = TestOrig();
    auto grey = TestOrig();
    grey->SetGrayscale(true);
    EXPECT_EQ(grey->Bitmap()->BitsPerPixel(), 8);
    const TColor sample = grey->Bitmap()->Canvas()->Pixels(100, 70);
    EXPECT_EQ(RedOf(sample), GreenOf(sample));
    EXPECT_EQ(GreenOf(sample), BlueOf(sample));

    auto eight = TestOrig();
    eight->SetPixelFormat(jf8Bit);
    EXPECT_EQ(eight->Bitmap()->BitsPerPixel(), 8);
    EXPECT_LT(MeanDifference(*eight->Bitmap(), *full->Bitmap()), 12.0);

    auto fast = TestOrig();
    fast->SetPerformance(jpBestSpeed);
    EXPECT_LT(MeanDifference(*fast->Bitmap(), *full->Bitmap()), 3.0);
}

TEST(JpegImage, DataThatIsNoJpegIsRefusedAndThePictureKept) {
    auto jpeg = TestOrig();
    TMemoryStream notJpeg;
    notJpeg.WriteBuffer("GIF89a, not a JPEG at all", 25);
    notJpeg.SetPosition(0);
    EXPECT_THROW(jpeg->LoadFromStream(notJpeg), EInvalidGraphic);
    TMemoryStream empty;
    EXPECT_THROW(jpeg->LoadFromStream(empty), EInvalidGraphic);
    EXPECT_EQ(jpeg->Width(), 227);

    // A picture cut short decodes as far as its data goes.
    TResourceStream stream(GetModuleHandleW(nullptr), "TESTORIG");
    std::vector<std::uint8_t> bytes = Bytes(stream);
    bytes.resize(bytes.size() / 2);
    TMemoryStream half;
    half.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    half.SetPosition(0);
    TJPEGImage cut;
    cut.LoadFromStream(half);
    EXPECT_EQ(cut.Bitmap()->Width(), 227);
    EXPECT_THROW(cut.SetWidth(10), EInvalidGraphicOperation);
}

// libjpeg's fatal errors unwind through its error handler; every damaged variant either
// decodes to a picture of a sane size or is refused with EInvalidGraphic.
TEST(JpegImage, RandomlyDamagedDataNeverCrashes) {
    TResourceStream stream(GetModuleHandleW(nullptr), "TESTORIG");
    const std::vector<std::uint8_t> good = Bytes(stream);
    std::mt19937 random(4711);
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> bytes = good;
        const int changes = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < changes; ++i) {
            // The markers and tables at the start are where damage is fatal.
            const std::size_t limit = random() % 2 ? 700 : bytes.size();
            bytes[random() % limit] = static_cast<std::uint8_t>(random());
        }
        TMemoryStream data;
        data.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        data.SetPosition(0);
        TJPEGImage jpeg;
        try {
            jpeg.LoadFromStream(data);
            TBitmap* bitmap = jpeg.Bitmap();
            ASSERT_NE(bitmap, nullptr);
            ASSERT_LE(bitmap->Width(), 32768);
        } catch (const EInvalidGraphic&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(JpegImage, BitmapsAreCompressedWhenSaved) {
    auto picture = Filled(32, 16, clRed);
    picture->Canvas()->Brush()->SetColor(clBlue);
    picture->Canvas()->FillRect(Rect(16, 0, 32, 16));
    TJPEGImage jpeg;
    jpeg.Assign(picture.get());
    jpeg.SetCompressionQuality(95);
    TMemoryStream stream;
    jpeg.SaveToStream(stream);
    ASSERT_GT(stream.Size(), 0);
    stream.SetPosition(0);
    TJPEGImage loaded;
    loaded.LoadFromStream(stream);
    ASSERT_EQ(loaded.Width(), 32);
    TBitmap decoded;
    decoded.Assign(&loaded);
    EXPECT_LT(MeanDifference(decoded, *picture), 6.0);
    const TColor left = decoded.Canvas()->Pixels(4, 8);
    EXPECT_GT(RedOf(left), 240);
    EXPECT_LT(BlueOf(left), 16);
}

TEST(JpegImage, DrawsItsDecodedPicture) {
    TGdiBalance balance;
    {
        auto jpeg = TestOrig();
        auto target = Filled(227, 149, clBlack);
        target->Canvas()->Draw(0, 0, jpeg.get());
        for (const TPoint p : {TPoint{0, 0}, TPoint{113, 74}, TPoint{226, 148}, TPoint{50, 120}})
            EXPECT_EQ(target->Canvas()->Pixels(p.x, p.y), jpeg->Bitmap()->Canvas()->Pixels(p.x, p.y));
    }
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

TEST(JpegImage, FormDataCarriesItsLength) {
    auto jpeg = TestOrig();
    TMemoryStream stream;
    jpeg->WriteData(stream);
    stream.WriteUInt32LE(0xCAFEF00D);
    stream.SetPosition(0);
    TJPEGImage copy;
    copy.ReadData(stream);
    EXPECT_EQ(copy.Data(), jpeg->Data());
    EXPECT_EQ(stream.ReadUInt32LE(), 0xCAFEF00Du);
}

// ---- TPicture ------------------------------------------------------------------------------

TEST(Picture, FormDataNamesThePictureKind) {
    TPicture picture;
    picture.SetGraphic(TestOrig().get());
    TMemoryStream stream;
    picture.WriteData(stream);
    stream.SetPosition(0);
    TPicture copy;
    copy.ReadData(stream);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(copy.Graphic()), nullptr);
    EXPECT_EQ(copy.Width(), 227);

    TMemoryStream unknown;
    unknown.WriteBuffer("\x04TGIF", 5);
    unknown.SetPosition(0);
    EXPECT_THROW(copy.ReadData(unknown), EInvalidGraphic);
    EXPECT_EQ(copy.Width(), 227);
}

TEST(Picture, BitmapAccessAndChangesReachTheOwner) {
    int changes = 0;
    struct TCounter {
        int* Count;
        void Changed(TObject*) { ++*Count; }
    } counter{&changes};
    TPicture picture;
    picture.SetOnChange(TNotifyEvent(&counter, &TCounter::Changed));
    picture.SetGraphic(TestOrig().get());
    const int afterLoad = changes;
    EXPECT_GT(afterLoad, 0);
    TBitmap* bitmap = picture.Bitmap();
    EXPECT_TRUE(bitmap->Empty()) << "a JPEG picture asked for as a bitmap becomes an empty bitmap";
    bitmap->SetSize(4, 4);
    bitmap->Canvas()->FillRect(Rect(0, 0, 2, 2));
    EXPECT_GT(changes, afterLoad + 1);
    EXPECT_EQ(picture.Bitmap(), bitmap);
}

TEST(Picture, FilesAreReadByExtension) {
    char folder[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string name = std::string(folder) + "tw_picture_test.jpg";
    TestOrig()->SaveToFile(name);
    TPicture picture;
    picture.LoadFromFile(name);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Height(), 149);
    DeleteFileA(name.c_str());
    EXPECT_THROW(picture.LoadFromFile(std::string(folder) + "tw_picture_test.xyz"), EInvalidGraphic);
}
