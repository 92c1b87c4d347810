#include "BmpRle.h"

#include "GraphicsError.h"

#include <algorithm>

namespace {

class TRleCursor {
public:
    TRleCursor(std::span<const std::uint8_t> data, TPixelView target) : FData(data), FTarget(target) {}

    void Run();

private:
    std::uint8_t Next() {
        if (FPos >= FData.size())
            throw EInvalidGraphic("Bitmap image is not valid: the compressed pixel data ends too early");
        return FData[FPos++];
    }
    bool Done() const { return FY >= FTarget.Height; }

    void Put(std::uint32_t value) {
        // Rows in the data run bottom-up; anything outside the image is dropped.
        if (FX < FTarget.Width && FY < FTarget.Height)
            WritePixelValue(FTarget.Row(FTarget.Height - 1 - FY), FX, FTarget.BitsPerPixel, value);
        FX = std::min<std::int64_t>(FX + 1, FTarget.Width);
    }

    void EncodedRun(int count, std::uint8_t value);
    void AbsoluteRun(int count);

    std::span<const std::uint8_t> FData;
    TPixelView FTarget;
    std::size_t FPos = 0;
    std::int64_t FX = 0;
    std::int64_t FY = 0;
};

void TRleCursor::EncodedRun(int count, std::uint8_t value) {
    const bool fourBit = FTarget.BitsPerPixel == 4;
    for (int i = 0; i < count; ++i)
        Put(fourBit ? ((i & 1) ? value & 0x0Fu : value >> 4u) : value);
}

void TRleCursor::AbsoluteRun(int count) {
    const bool fourBit = FTarget.BitsPerPixel == 4;
    const int bytes = fourBit ? (count + 1) / 2 : count;
    std::uint8_t byte = 0;
    for (int i = 0; i < count; ++i) {
        if (!fourBit || (i & 1) == 0)
            byte = Next();
        Put(fourBit ? ((i & 1) ? byte & 0x0Fu : byte >> 4u) : byte);
    }
    // Absolute runs are padded to a 16-bit boundary.
    if (bytes & 1)
        Next();
}

void TRleCursor::Run() {
    while (!Done()) {
        const std::uint8_t count = Next();
        const std::uint8_t value = Next();
        if (count > 0) {
            EncodedRun(count, value);
            continue;
        }
        switch (value) {
        case 0: // end of line
            FX = 0;
            ++FY;
            break;
        case 1: // end of bitmap
            return;
        case 2: { // jump right and up
            const std::uint8_t dx = Next();
            const std::uint8_t dy = Next();
            FX = std::min<std::int64_t>(FX + dx, FTarget.Width);
            FY += dy;
            break;
        }
        default:
            AbsoluteRun(value);
            break;
        }
    }
}

} // namespace

void DecodeBmpRle(std::span<const std::uint8_t> data, TPixelView target) {
    TRleCursor(data, target).Run();
}
