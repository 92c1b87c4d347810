#include "JpegCodec.h"

#include "GraphicsError.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports fatal errors by calling error_exit, which must not return. It longjmps back
// to RunGuarded; the code between (the stage functions) owns nothing that needs destroying,
// and libjpeg's own memory is released by jpeg_destroy_* afterwards.

namespace {

struct TJpegError {
    jpeg_error_mgr Manager; // first: libjpeg sees only this part
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    (*info->err->format_message)(info, error->Message);
    std::longjmp(error->Jump, 1);
}

// Warnings about damaged data are not worth a console line: the picture decodes as far as
// it can.
void SilentOutput(j_common_ptr) {}

TJpegError* InitError(TJpegError& error) {
    jpeg_std_error(&error.Manager);
    error.Manager.error_exit = ErrorExit;
    error.Manager.output_message = SilentOutput;
    error.Message[0] = '\0';
    return &error;
}

bool RunGuarded(TJpegError* error, void (*stage)(void*), void* context) {
    if (setjmp(error->Jump))
        return false;
    stage(context);
    return true;
}

struct TDecodeJob {
    jpeg_decompress_struct Info{};
    TJpegError Error{};
    bool Created = false;
    std::span<const std::uint8_t> Data;
    TJpegDecodeOptions Options;
    TBmpLimits Limits;
    bool HeaderOnly = false;
    bool TooLarge = false;
    TJpegHeader Header;
    TBmpImage* Out = nullptr;

    TDecodeJob() { Info.err = &InitError(Error)->Manager; }
    TDecodeJob(const TDecodeJob&) = delete;
    TDecodeJob& operator=(const TDecodeJob&) = delete;
    ~TDecodeJob() {
        if (Created)
            jpeg_destroy_decompress(&Info);
    }
};

bool Adobe(j_decompress_ptr info) {
    return info->saw_Adobe_marker;
}

// CMYK and YCCK pictures come out as CMYK; Adobe's files store the inks inverted.
void CmykToBgr(j_decompress_ptr info, const JSAMPLE* cmyk, std::uint8_t* out, bool grey) {
    const bool inverted = Adobe(info);
    for (JDIMENSION x = 0; x < info->output_width; ++x, cmyk += 4) {
        const int c = inverted ? cmyk[0] : 255 - cmyk[0];
        const int m = inverted ? cmyk[1] : 255 - cmyk[1];
        const int y = inverted ? cmyk[2] : 255 - cmyk[2];
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        const int r = c * k / 255;
        const int g = m * k / 255;
        const int b = y * k / 255;
        if (grey)
            out[x] = static_cast<std::uint8_t>((r * 299 + g * 587 + b * 114) / 1000);
        else {
            out[3 * x] = static_cast<std::uint8_t>(b);
            out[3 * x + 1] = static_cast<std::uint8_t>(g);
            out[3 * x + 2] = static_cast<std::uint8_t>(r);
        }
    }
}

void ChooseOutput(TDecodeJob* job) {
    j_decompress_ptr info = &job->Info;
    const TJpegDecodeOptions& o = job->Options;
    info->scale_num = 1;
    info->scale_denom = static_cast<unsigned>(o.ScaleDenominator);
    info->dct_method = o.Fast ? JDCT_IFAST : JDCT_ISLOW;
    info->do_fancy_upsampling = o.Fast ? FALSE : TRUE;
    info->do_block_smoothing = o.Smoothing ? TRUE : FALSE;
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    if (cmyk) {
        info->out_color_space = JCS_CMYK;
    } else if (o.Grayscale) {
        info->out_color_space = JCS_GRAYSCALE;
    } else if (o.Quantize) {
        info->out_color_space = JCS_RGB;
        info->quantize_colors = TRUE;
        info->desired_number_of_colors = 256;
    } else {
        info->out_color_space = JCS_EXT_BGR;
    }
}

void DecodeStage(void* context) {
    auto* job = static_cast<TDecodeJob*>(context);
    j_decompress_ptr info = &job->Info;
    jpeg_create_decompress(info);
    job->Created = true;
    jpeg_mem_src(info, job->Data.data(), static_cast<unsigned long>(job->Data.size()));
    jpeg_read_header(info, TRUE);
    job->Header.Width = static_cast<int>(info->image_width);
    job->Header.Height = static_cast<int>(info->image_height);
    job->Header.Components = info->num_components;
    job->Header.Progressive = jpeg_has_multiple_scans(info);
    ChooseOutput(job);
    jpeg_calc_output_dimensions(info);
    const std::int64_t width = info->output_width;
    const std::int64_t height = info->output_height;
    if (width > job->Limits.MaxDimension || height > job->Limits.MaxDimension ||
        width * height > job->Limits.MaxPixels) {
        job->TooLarge = true;
        return;
    }
    if (job->HeaderOnly)
        return;

    const bool cmyk = info->out_color_space == JCS_CMYK;
    const bool eightBit =
        info->out_color_space == JCS_GRAYSCALE || info->quantize_colors || (cmyk && job->Options.Grayscale);
    TBmpImage& out = *job->Out;
    out = CreateBmpImage(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                         eightBit ? 8 : 24);
    jpeg_start_decompress(info);
    JSAMPARRAY scratch = cmyk ? (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                                           info->output_width * 4, 1)
                              : nullptr;
    while (info->output_scanline < info->output_height) {
        std::uint8_t* row = out.View().Row(static_cast<std::int32_t>(info->output_scanline));
        JSAMPROW target = cmyk ? scratch[0] : row;
        if (jpeg_read_scanlines(info, &target, 1) != 1)
            break;
        if (cmyk)
            CmykToBgr(info, scratch[0], row, eightBit);
    }
    if (info->quantize_colors) {
        for (int i = 0; i < info->actual_number_of_colors && i < 256; ++i)
            out.Palette[static_cast<std::size_t>(i)] = {info->colormap[2][i], info->colormap[1][i],
                                                        info->colormap[0][i], 0};
    } else if (eightBit) {
        for (std::size_t i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            out.Palette[i] = {v, v, v, 0};
        }
    }
    jpeg_finish_decompress(info);
}

[[noreturn]] void Refuse(const TDecodeJob& job) {
    throw EInvalidGraphic(std::string("JPEG image is not valid: ") + job.Error.Message);
}

TJpegHeader RunDecode(std::span<const std::uint8_t> data, const TJpegDecodeOptions& options,
                      const TBmpLimits& limits, TBmpImage* out) {
    if (data.empty())
        throw EInvalidGraphic("JPEG image is not valid: the data is empty");
    TDecodeJob job;
    job.Data = data;
    job.Options = options;
    job.Limits = limits;
    job.HeaderOnly = out == nullptr;
    job.Out = out;
    if (!RunGuarded(&job.Error, DecodeStage, &job))
        Refuse(job);
    if (job.TooLarge)
        throw EInvalidGraphic("JPEG image is too large: " + std::to_string(job.Header.Width) + " x " +
                              std::to_string(job.Header.Height) + " pixels");
    return job.Header;
}

struct TEncodeJob {
    jpeg_compress_struct Info{};
    TJpegError Error{};
    bool Created = false;
    const TBmpImage* Pixels = nullptr;
    int Quality = 90;
    bool Progressive = false;
    bool Grayscale = false;
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;

    TEncodeJob() { Info.err = &InitError(Error)->Manager; }
    TEncodeJob(const TEncodeJob&) = delete;
    TEncodeJob& operator=(const TEncodeJob&) = delete;
    ~TEncodeJob() {
        if (Created)
            jpeg_destroy_compress(&Info);
        std::free(Buffer);
    }
};

void EncodeStage(void* context) {
    auto* job = static_cast<TEncodeJob*>(context);
    j_compress_ptr info = &job->Info;
    jpeg_create_compress(info);
    job->Created = true;
    jpeg_mem_dest(info, &job->Buffer, &job->Size);
    info->image_width = static_cast<JDIMENSION>(job->Pixels->Width);
    info->image_height = static_cast<JDIMENSION>(job->Pixels->Height);
    info->input_components = 3;
    info->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(info);
    if (job->Grayscale)
        jpeg_set_colorspace(info, JCS_GRAYSCALE);
    jpeg_set_quality(info, job->Quality, TRUE);
    if (job->Progressive)
        jpeg_simple_progression(info);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(job->Pixels->View().Row(static_cast<std::int32_t>(info->next_scanline)));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
}

} // namespace

TJpegHeader ReadJpegHeader(std::span<const std::uint8_t> data) {
    return RunDecode(data, {}, {}, nullptr);
}

TBmpImage DecodeJpeg(std::span<const std::uint8_t> data, const TJpegDecodeOptions& options,
                     const TBmpLimits& limits) {
    TBmpImage image;
    RunDecode(data, options, limits, &image);
    return image;
}

std::vector<std::uint8_t> EncodeJpeg(const TBmpImage& pixels, int quality, bool progressive, bool grayscale) {
    if (pixels.BitsPerPixel != 24 || pixels.Width <= 0 || pixels.Height <= 0)
        throw EInvalidGraphic("JPEG images are made from 24-bit pictures");
    TEncodeJob job;
    job.Pixels = &pixels;
    job.Quality = std::clamp(quality, 1, 100);
    job.Progressive = progressive;
    job.Grayscale = grayscale;
    if (!RunGuarded(&job.Error, EncodeStage, &job))
        throw EInvalidGraphic(std::string("Cannot write the JPEG image: ") + job.Error.Message);
    return {job.Buffer, job.Buffer + job.Size};
}
