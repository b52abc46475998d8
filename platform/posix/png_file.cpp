// Screenshots as 8-bit RGB PNG files, written under a temporary name and
// renamed into place so a failed write never leaves a broken picture behind.
#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

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
bool encodeRows(std::FILE* file, int width, int height, const uint8_t* rgb, PngFailure* failure) {
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
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgb + stride * static_cast<size_t>(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePngRgb(const std::string& path, int width, int height, const uint8_t* rgb,
                 std::string& error) {
    if (width <= 0 || height <= 0 || rgb == nullptr) {
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
    const bool encoded = encodeRows(file, width, height, rgb, &failure);
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
