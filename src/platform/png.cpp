// PNG files through libpng (screenshots, reference pictures).
#include "platform/picture.h"

#include "platform/file_writing.h"

#include <png.h>

#include <cstdio>
#include <csetjmp>
#include <string_view>

namespace vorn {

namespace {

    // Pictures read from PNG files are held to the same size limit as BMP files.
    constexpr png_uint_32 kMaxSide = 16384;

    // Errors and warnings are reported by the result, not printed.
    [[noreturn]] void pngError(png_structp png, png_const_charp)
    {
        png_longjmp(png, 1);
    }

    void pngWarning(png_structp, png_const_charp) { }

    // Reads the samples exactly as stored: palettes and grey are expanded to RGB, 16-bit samples
    // cut to 8 bits and alpha dropped, but no gamma or colour-space correction is applied.
    // libpng reports errors by a long jump back here; the buffers it fills belong to the caller so
    // that no local object with a destructor is changed between the jump's setting and its use.
    bool readPng(std::FILE* file, std::vector<png_byte>& rgb, std::vector<png_bytep>& rows, png_uint_32& width,
        png_uint_32& height)
    {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
        if (!png)
            return false;
        png_infop info = png_create_info_struct(png);
        if (!info) {
            png_destroy_read_struct(&png, nullptr, nullptr);
            return false;
        }
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_read_struct(&png, &info, nullptr);
            return false;
        }
        png_init_io(png, file);
        png_set_user_limits(png, kMaxSide, kMaxSide);
        png_read_info(png, info);

        png_set_expand(png);
        png_set_strip_16(png);
        png_set_strip_alpha(png);
        png_set_gray_to_rgb(png);
        png_set_interlace_handling(png);
        png_read_update_info(png, info);

        width = png_get_image_width(png, info);
        height = png_get_image_height(png, info);
        if (width == 0 || height == 0 || png_get_rowbytes(png, info) != std::size_t(width) * 3) {
            png_destroy_read_struct(&png, &info, nullptr);
            return false;
        }
        rgb.resize(std::size_t(width) * height * 3);
        rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            rows[y] = rgb.data() + std::size_t(y) * width * 3;
        png_read_image(png, rows.data());
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        return true;
    }

    void writeToFile(png_structp png, png_bytep data, png_size_t size)
    {
        auto* file = static_cast<FileReplacement*>(png_get_io_ptr(png));
        if (!file->write(std::string_view(reinterpret_cast<const char*>(data), size)))
            png_error(png, "write failed");
    }

    void flushNothing(png_structp) { }

    // Writes an RGB PNG row by row: only one row of samples is held, whatever the picture's
    // height. As in readPng, the buffer is made before the jump is set.
    bool writePngRows(FileReplacement& file, png_uint_32 width, png_uint_32 height, const PngRowSource& row)
    {
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
        if (!png)
            return false;
        png_infop info = png_create_info_struct(png);
        if (!info) {
            png_destroy_write_struct(&png, nullptr);
            return false;
        }
        std::vector<png_byte> rgb(std::size_t(width) * 3);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            return false;
        }
        png_set_write_fn(png, &file, writeToFile, flushNothing);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
            PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (png_uint_32 y = 0; y < height; ++y) {
            const Pixel* pixels = row(static_cast<int>(y));
            for (png_uint_32 x = 0; x < width; ++x) {
                rgb[3 * x] = static_cast<png_byte>(pixels[x] >> 16);
                rgb[3 * x + 1] = static_cast<png_byte>(pixels[x] >> 8);
                rgb[3 * x + 2] = static_cast<png_byte>(pixels[x]);
            }
            png_write_row(png, rgb.data());
        }
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        return true;
    }

} // namespace

bool savePngRows(const std::string& path, int width, int height, const PngRowSource& row)
{
    if (width <= 0 || height <= 0)
        return false;
    FileReplacement file { std::filesystem::path(path) };
    return file.ok() && writePngRows(file, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), row)
        && file.commit();
}

bool savePng(const Picture& picture, const std::string& path)
{
    if (picture.empty())
        return false;
    return savePngRows(path, picture.width, picture.height,
        [&](int y) { return picture.pixels.data() + static_cast<std::size_t>(y) * picture.width; });
}

bool loadPng(const std::string& path, Picture& picture)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::vector<png_byte> rgb;
    std::vector<png_bytep> rows;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    const bool ok = readPng(file, rgb, rows, width, height);
    std::fclose(file);
    if (!ok)
        return false;

    Picture result(static_cast<int>(width), static_cast<int>(height));
    for (std::size_t i = 0; i < result.pixels.size(); ++i)
        result.pixels[i] = (Pixel(rgb[3 * i]) << 16) | (Pixel(rgb[3 * i + 1]) << 8) | rgb[3 * i + 2];
    result.mode = picture.mode;
    picture = std::move(result);
    return true;
}

} // namespace vorn
