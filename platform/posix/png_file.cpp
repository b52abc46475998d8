// PNG pictures: 8-bit RGB or RGBA read from files or memory with samples
// untouched, and written under a temporary name and renamed into place so
// a failed write never leaves a broken picture behind.
#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/api/file_system.h"
#include "platform/api/path_problem.h"
#include "platform/api/png_encoder.h"
#include "platform/api/png_file.h"

namespace zeku {
namespace {

struct PngFailure {
    char message[200];
};

void onPngError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<PngFailure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Reading from memory. libpng reports errors by longjmp,
// so the work is split into two stages around the allocation of the rows:
// each stage's setjmp frame holds only plain data, and the C++ containers
// live in the caller, which no longjmp crosses.
struct MemorySource {
    const uint8_t* bytes;
    size_t size;
    size_t position;
};

struct BgrReadSession {
    png_structp png;
    png_infop info;
    MemorySource source;
    PngFailure failure;
    png_uint_32 width;
    png_uint_32 height;
    int channels;
    size_t rowBytes;
};

constexpr png_uint_32 kMaxBgrSide = 65535;

void readFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (length > source->size - source->position) png_error(png, "data ends early");
    std::memcpy(out, source->bytes + source->position, length);
    source->position += length;
}

// Stage one: the header and the transformations; leaves the size of the
// rows to allocate in the session.
bool beginBgrRead(BgrReadSession* s, size_t maxPixels) {
    s->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s->failure, onPngError, onPngWarning);
    if (s->png == nullptr) {
        std::snprintf(s->failure.message, sizeof s->failure.message, "out of memory");
        return false;
    }
    s->info = png_create_info_struct(s->png);
    if (s->info == nullptr) {
        std::snprintf(s->failure.message, sizeof s->failure.message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(s->png))) return false;
    png_set_read_fn(s->png, &s->source, readFromMemory);
    png_set_user_limits(s->png, kMaxBgrSide, kMaxBgrSide);
    png_read_info(s->png, s->info);
    s->width = png_get_image_width(s->png, s->info);
    s->height = png_get_image_height(s->png, s->info);
    if (static_cast<uint64_t>(s->width) * s->height > maxPixels) {
        std::snprintf(s->failure.message, sizeof s->failure.message,
                      "picture of %u x %u pixels is too large", static_cast<unsigned>(s->width),
                      static_cast<unsigned>(s->height));
        return false;
    }
    const int colorType = png_get_color_type(s->png, s->info);
    // Palette to RGB, grey below 8 bits to 8 bits, a transparency chunk to
    // an alpha channel.
    png_set_expand(s->png);
    // Keeps the high byte of each 16-bit sample (png_set_scale_16 would round).
    png_set_strip_16(s->png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(s->png);
    png_set_invert_alpha(s->png);
    png_set_bgr(s->png);
    png_set_interlace_handling(s->png);
    png_read_update_info(s->png, s->info);
    s->channels = png_get_channels(s->png, s->info);
    s->rowBytes = png_get_rowbytes(s->png, s->info);
    if (png_get_bit_depth(s->png, s->info) != 8 || (s->channels != 3 && s->channels != 4) ||
        s->rowBytes != static_cast<size_t>(s->width) * static_cast<size_t>(s->channels)) {
        std::snprintf(s->failure.message, sizeof s->failure.message,
                      "unexpected row layout after conversion");
        return false;
    }
    return true;
}

// Stage two: every row (all passes of an interlaced picture) into `rows`.
bool finishBgrRead(BgrReadSession* s, png_bytepp rows) {
    if (setjmp(png_jmpbuf(s->png))) return false;
    png_read_image(s->png, rows);
    return true;
}

}  // namespace

bool readPngBgrInvertedAlpha(const uint8_t* bytes, size_t size, size_t maxPixels,
                             PngBgrPicture& picture, std::string& error) {
    BgrReadSession session{};
    session.source = MemorySource{bytes, size, 0};
    bool ok = beginBgrRead(&session, maxPixels);
    std::vector<png_bytep> rows;
    if (ok) {
        // The text chunks before the image data are known once the header
        // has been read; getting them never jumps.
        png_textp texts = nullptr;
        const int textCount = png_get_text(session.png, session.info, &texts, nullptr);
        picture.texts.clear();
        for (int i = 0; i < textCount; ++i) {
            picture.texts.push_back(PngText{texts[i].key != nullptr ? texts[i].key : "",
                                            texts[i].text != nullptr ? texts[i].text : ""});
        }
        picture.width = static_cast<int>(session.width);
        picture.height = static_cast<int>(session.height);
        picture.channels = session.channels;
        picture.pixels.assign(session.rowBytes * session.height, 0);
        rows.resize(session.height);
        for (png_uint_32 y = 0; y < session.height; ++y)
            rows[y] = picture.pixels.data() + session.rowBytes * y;
        ok = finishBgrRead(&session, rows.data());
    }
    png_destroy_read_struct(&session.png, &session.info, nullptr);
    if (!ok) {
        error = std::string("cannot read PNG data: ") + session.failure.message;
        picture = PngBgrPicture{};
    }
    return ok;
}

bool writePng(const std::string& path, int width, int height, int channels, const uint8_t* pixels,
              const std::vector<PngText>& texts, std::string& error);

bool readPngMemory(const uint8_t* bytes, size_t size, PngPicture& picture, std::string& error) {
    // The converter's reader, turned back to red-green-blue and ordinary
    // alpha: samples stay as stored (no gamma handling), which is what a
    // tool moving pictures between PNG and the game's formats wants.
    PngBgrPicture bgr;
    if (!readPngBgrInvertedAlpha(bytes, size, kReadPngMaxPixels, bgr, error)) return false;
    const size_t channels = static_cast<size_t>(bgr.channels);
    for (size_t i = 0; i + channels <= bgr.pixels.size(); i += channels) {
        std::swap(bgr.pixels[i], bgr.pixels[i + 2]);
        if (channels == 4) bgr.pixels[i + 3] = static_cast<uint8_t>(255 - bgr.pixels[i + 3]);
    }
    picture.width = bgr.width;
    picture.height = bgr.height;
    picture.channels = bgr.channels;
    picture.pixels = std::move(bgr.pixels);
    picture.texts = std::move(bgr.texts);
    return true;
}

bool readPng(const std::string& path, PngPicture& picture, std::string& error) {
    const ByteBuffer bytes = readWholeFile(path.c_str());
    if (!bytes) {
        const std::string problem = fileProblem(path);
        error = path + ": cannot read the file" + (problem.empty() ? "" : " (" + problem + ")");
        return false;
    }
    if (!readPngMemory(bytes.data(), bytes.size(), picture, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool writePngRgb(const std::string& path, int width, int height, const uint8_t* rgb,
                 std::string& error, const std::vector<PngText>& texts) {
    return writePng(path, width, height, 3, rgb, texts, error);
}

bool writePngRgba(const std::string& path, int width, int height, const uint8_t* rgba,
                  std::string& error, const std::vector<PngText>& texts) {
    return writePng(path, width, height, 4, rgba, texts, error);
}

bool writePng(const std::string& path, int width, int height, int channels, const uint8_t* pixels,
              const std::vector<PngText>& texts, std::string& error) {
    std::vector<uint8_t> bytes;
    const bool encoded = channels == 4 ? encodePngRgba(width, height, pixels, bytes, error, texts)
                                       : encodePngRgb(width, height, pixels, bytes, error, texts);
    if (!encoded) {
        error = "cannot write " + path + ": " + error;
        return false;
    }
    AtomicFileWriter file;
    if (!file.open(path, error)) return false;
    file.write(bytes.data(), bytes.size());  // a failure surfaces, with its reason, in commit()
    return file.commit(error);
}

}  // namespace zeku
