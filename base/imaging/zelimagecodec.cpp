#include "base/imaging/zelimagecodec.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <memory>

namespace {

bool fail(std::string *error, const char *reason)
{
    if (error)
        *error = reason;
    return false;
}

bool sizeValid(unsigned long width, unsigned long height)
{
    return width > 0 && height > 0 && width <= 0x7FFFFFFF && height <= 0x7FFFFFFF;
}

bool decodable(unsigned long width, unsigned long height)
{
    return width * height <= zelMaxImagePixels;
}

// PNG, through libpng's simplified interface: it keeps its own error
// recovery, so no long jump crosses this code.

bool readPng(const unsigned char *data, std::size_t size, TzelImageInfo *info, TzelImage *image, std::string *error)
{
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size))
        return fail(error, png.message);
    if (!sizeValid(png.width, png.height)) {
        png_image_free(&png);
        return fail(error, "invalid image size");
    }
    if (info) {
        info->Format = TzelImageFormat::Png;
        info->Width = int(png.width);
        info->Height = int(png.height);
    }
    if (!image || !decodable(png.width, png.height)) {
        png_image_free(&png);
        return image ? fail(error, "image too large") : true;
    }
    png.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr))
        return fail(error, png.message);
    image->Width = int(png.width);
    image->Height = int(png.height);
    image->Pixels = std::move(pixels);
    return true;
}

// JPEG, through libjpeg: its fatal errors jump back to the setjmp below.
// Everything the decoder touches after setjmp lives on the heap or in the
// caller's frame, so nothing with a destructor is skipped by the jump.

// Limits that keep hostile files from taking unbounded memory or time: the
// decoder's working memory, and the number of scans of a progressive file.
constexpr long jpegMaxMemory = 512L * 1024 * 1024;
constexpr int jpegMaxScans = 500;

struct JpegContext
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    std::vector<unsigned char> pixels;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    auto *ctx = static_cast<JpegContext *>(cinfo->client_data);
    (*cinfo->err->format_message)(cinfo, ctx->message);
    std::longjmp(ctx->jump, 1);
}

void jpegOutputMessage(j_common_ptr)
{
    // Warnings of damaged but readable data are not printed.
}

void jpegProgress(j_common_ptr cinfo)
{
    auto *d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->is_decompressor && d->input_scan_number > jpegMaxScans) {
        auto *ctx = static_cast<JpegContext *>(cinfo->client_data);
        std::snprintf(ctx->message, sizeof ctx->message, "too many scans");
        std::longjmp(ctx->jump, 1);
    }
}

void jpegRowToRgba(const JpegContext &ctx, const JSAMPLE *in, unsigned char *out)
{
    const jpeg_decompress_struct &c = ctx.cinfo;
    for (JDIMENSION x = 0; x < c.output_width; ++x, out += 4) {
        switch (c.out_color_space) {
        case JCS_GRAYSCALE:
            out[0] = out[1] = out[2] = in[x];
            break;
        case JCS_CMYK: {
            // Files written with an Adobe marker store CMYK inverted.
            const JSAMPLE *p = in + x * 4;
            const bool inverted = c.saw_Adobe_marker;
            const int k = inverted ? p[3] : 255 - p[3];
            for (int i = 0; i < 3; ++i) {
                const int v = inverted ? p[i] : 255 - p[i];
                out[i] = static_cast<unsigned char>((v * k + 127) / 255);
            }
            break;
        }
        default: {
            const JSAMPLE *p = in + x * 3;
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
            break;
        }
        }
        out[3] = 255;
    }
}

bool readJpeg(const unsigned char *data, std::size_t size, TzelImageInfo *info, TzelImage *image, std::string *error)
{
    auto ctx = std::make_unique<JpegContext>();
    std::vector<unsigned char> &pixels = ctx->pixels;
    jpeg_decompress_struct &cinfo = ctx->cinfo;
    cinfo.err = jpeg_std_error(&ctx->errors);
    ctx->errors.error_exit = jpegErrorExit;
    ctx->errors.output_message = jpegOutputMessage;
    ctx->message[0] = 0;
    if (setjmp(ctx->jump)) {
        jpeg_destroy_decompress(&cinfo);
        return fail(error, ctx->message);
    }
    jpeg_create_decompress(&cinfo);
    cinfo.client_data = ctx.get();
    cinfo.mem->max_memory_to_use = jpegMaxMemory;
    ctx->progress.progress_monitor = jpegProgress;
    cinfo.progress = &ctx->progress;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (!sizeValid(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return fail(error, "invalid image size");
    }
    if (info) {
        info->Format = TzelImageFormat::Jpeg;
        info->Width = int(cinfo.image_width);
        info->Height = int(cinfo.image_height);
    }
    if (!image || !decodable(cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return image ? fail(error, "image too large") : true;
    }
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        cinfo.out_color_space = JCS_RGB;
        break;
    }
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = std::size_t(cinfo.output_width) * 4;
    pixels.resize(stride * cinfo.output_height);
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * JDIMENSION(cinfo.output_components), 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, row, 1);
        jpegRowToRgba(*ctx, row[0], pixels.data() + stride * y);
    }
    jpeg_finish_decompress(&cinfo);
    image->Width = int(cinfo.output_width);
    image->Height = int(cinfo.output_height);
    jpeg_destroy_decompress(&cinfo);
    image->Pixels = std::move(pixels);
    return true;
}

bool readImage(const unsigned char *data, std::size_t size, TzelImageInfo *info, TzelImage *image, std::string *error)
{
    switch (zelDetectImageFormat(data, size)) {
    case TzelImageFormat::Png:
        return readPng(data, size, info, image, error);
    case TzelImageFormat::Jpeg:
        return readJpeg(data, size, info, image, error);
    case TzelImageFormat::Unknown:
        break;
    }
    return fail(error, "unknown image format");
}

} // namespace

TzelImageFormat zelDetectImageFormat(const unsigned char *data, std::size_t size)
{
    static const unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data && size >= 8 && std::memcmp(data, pngSignature, 8) == 0)
        return TzelImageFormat::Png;
    if (data && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return TzelImageFormat::Jpeg;
    return TzelImageFormat::Unknown;
}

bool zelReadImageInfo(const unsigned char *data, std::size_t size, TzelImageInfo &info, std::string *error)
{
    info = TzelImageInfo();
    TzelImageInfo header;
    if (!readImage(data, size, &header, nullptr, error))
        return false;
    info = header;
    return true;
}

bool zelDecodeImage(const unsigned char *data, std::size_t size, TzelImage &image, std::string *error)
{
    image = TzelImage();
    TzelImage decoded;
    if (!readImage(data, size, nullptr, &decoded, error))
        return false;
    image = std::move(decoded);
    return true;
}

bool zelEncodePng(const TzelImage &image, std::vector<unsigned char> &png, std::string *error)
{
    png.clear();
    if (image.IsEmpty() || image.Pixels.size() < image.Stride() * std::size_t(image.Height))
        return fail(error, "no pixels to encode");
    png_image out;
    std::memset(&out, 0, sizeof out);
    out.version = PNG_IMAGE_VERSION;
    out.width = png_uint_32(image.Width);
    out.height = png_uint_32(image.Height);
    out.format = PNG_FORMAT_RGBA;
    png_alloc_size_t bytes = 0;
    if (!png_image_write_to_memory(&out, nullptr, &bytes, 0, image.Pixels.data(), 0, nullptr))
        return fail(error, out.message);
    png.resize(bytes);
    if (!png_image_write_to_memory(&out, png.data(), &bytes, 0, image.Pixels.data(), 0, nullptr)) {
        png.clear();
        return fail(error, out.message);
    }
    png.resize(bytes);
    return true;
}
