// PNG pictures: 8-bit RGB or RGBA read from files or memory, and written under a temporary name and
// renamed into place so a failed write never leaves a broken picture behind.
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/api/png_file.h"

namespace zeku {
namespace {

struct PngFailure {
    char message[200];
    int writeErrno;  // errno when libpng gave up, meaningful if the stream failed
};

void onPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    failure->writeErrno = errno;
    std::snprintf(failure->message, sizeof failure->message, "%s", message);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp, which skips destructors: this function
// holds nothing but plain pointers and integers, and everything it sets
// before setjmp stays unchanged after it.
bool encodeRows(std::FILE* file, int width, int height, int channels, const uint8_t* pixels,
                PngFailure* failure) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, failure, onPngError, onPngWarning);
    if (png == nullptr) {
        std::snprintf(failure->message, sizeof failure->message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(failure->message, sizeof failure->message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels + stride * static_cast<size_t>(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool finishRead(png_image& image, PngPicture& picture, std::string& error, const char* what) {
    if (PNG_IMAGE_FAILED(image)) {
        error = std::string("cannot read ") + what + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    // Palette, grey and 16-bit pictures all arrive as 8-bit RGB or RGBA; a
    // transparency chunk counts as alpha.
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.channels = alpha ? 4 : 3;
    const size_t bytes = PNG_IMAGE_SIZE(image);
    // Far larger than any game picture; refusing keeps a hostile header from
    // asking for gigabytes.
    if (image.width > 16384 || image.height > 16384) {
        error = std::string("cannot read ") + what + ": picture too large";
        png_image_free(&image);
        return false;
    }
    picture.pixels.assign(bytes, 0);
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        error = std::string("cannot read ") + what + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace

bool writePng(const std::string& path, int width, int height, int channels, const uint8_t* pixels,
              std::string& error);

bool readPng(const std::string& path, PngPicture& picture, std::string& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_file(&image, path.c_str());
    return finishRead(image, picture, error, path.c_str());
}

bool readPngMemory(const uint8_t* bytes, size_t size, PngPicture& picture, std::string& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, bytes, size);
    return finishRead(image, picture, error, "PNG data");
}

bool writePngRgb(const std::string& path, int width, int height, const uint8_t* rgb,
                 std::string& error) {
    return writePng(path, width, height, 3, rgb, error);
}

bool writePngRgba(const std::string& path, int width, int height, const uint8_t* rgba,
                  std::string& error) {
    return writePng(path, width, height, 4, rgba, error);
}

bool writePng(const std::string& path, int width, int height, int channels, const uint8_t* pixels,
              std::string& error) {
    if (width <= 0 || height <= 0 || pixels == nullptr) {
        error = "cannot write " + path + ": empty picture";
        return false;
    }
    const std::string temporary = path + ".tmp-" + std::to_string(getpid());
    // "e" opens with O_CLOEXEC, so a program started meanwhile cannot keep it.
    std::FILE* file = std::fopen(temporary.c_str(), "wbe");
    if (file == nullptr) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }

    PngFailure failure{};
    const bool encoded = encodeRows(file, width, height, channels, pixels, &failure);
    // A full disk often shows only when the last buffer goes out.
    const bool flushed = std::fflush(file) == 0 && std::ferror(file) == 0;
    const int flushErrno = errno;
    const bool streamFailed = std::ferror(file) != 0;
    const bool closed = std::fclose(file) == 0;
    const int closeErrno = errno;

    if (encoded && flushed && closed && std::rename(temporary.c_str(), path.c_str()) == 0) {
        return true;
    }
    const int renameErrno = errno;
    std::remove(temporary.c_str());
    if (!encoded && streamFailed && failure.writeErrno != 0) {
        error = "cannot write " + path + ": " + std::strerror(failure.writeErrno);
    } else if (!encoded) {
        error = "cannot write " + path + ": " + failure.message;
    } else if (!flushed) {
        error = "cannot write " + path + ": " + std::strerror(flushErrno);
    } else if (!closed) {
        error = "cannot write " + path + ": " + std::strerror(closeErrno);
    } else {
        error = "cannot rename " + temporary + " to " + path + ": " + std::strerror(renameErrno);
    }
    return false;
}

}  // namespace zeku
