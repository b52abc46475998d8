// Writes a small set of valid inputs for every fuzz target, made by the
// project's own writers, so a replay exercises each target's main path and
// a libFuzzer run starts from files that get past the first checks.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include "common/image/jbp1_encoder.h"
#include "common/image/rbp_writer.h"
#include "common/lzss/lzss.h"
#include "converter/pipeline/mp3_encoder.h"
#include "platform/api/png_encoder.h"
#include "player/script/read_marks_file.h"
#include "player/system/global_vars_file.h"
#include "player/system/save_slot_file.h"
#include "player/system/thumbnail_bmp.h"
#include "tests/support/package_builder.h"
#include "tools/demogame/bmp_writer.h"
#include "tools/demogame/story.h"
#include "tools/demogame/wav_writer.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class SeedFolder {
  public:
    explicit SeedFolder(const fs::path& root) : root_(root) {}

    // Writes `bytes` as `folder/name`; a failure is remembered and reported.
    void write(const char* folder, const char* name, const Bytes& bytes) {
        std::error_code error;
        fs::create_directories(root_ / folder, error);
        std::ofstream file(root_ / folder / name, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            std::fprintf(stderr, "cannot write %s/%s\n", folder, name);
            ok_ = false;
        }
    }
    void write(const char* folder, const char* name, std::string_view text) {
        write(folder, name, Bytes(text.begin(), text.end()));
    }
    void fail(const char* what) {
        std::fprintf(stderr, "cannot make %s\n", what);
        ok_ = false;
    }
    bool ok() const { return ok_; }

  private:
    fs::path root_;
    bool ok_ = true;
};

Bytes concat(std::initializer_list<uint8_t> head, const Bytes& tail) {
    Bytes bytes(head);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// A smooth picture with a few sharp edges, `channels` bytes a pixel in the
// order `bgr` says; the fourth channel, when present, is a ramp.
Bytes testPicture(int width, int height, int channels, bool bgr) {
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t red = static_cast<uint8_t>(x * 255 / width);
            const uint8_t green = static_cast<uint8_t>(y * 255 / height);
            const uint8_t blue = static_cast<uint8_t>((x / 8 + y / 8) % 2 != 0 ? 220 : 30);
            pixels.insert(pixels.end(), {bgr ? blue : red, green, bgr ? red : blue});
            if (channels == 4) pixels.push_back(static_cast<uint8_t>((x + y) * 4));
        }
    }
    return pixels;
}

void textSeeds(SeedFolder& out) {
    // Destination size, argument seed, then the format.
    out.write("format_text", "numbers", concat({64, 7}, bytesOf("%d %u %z4 %x8 %t %f2.2")));
    out.write("format_text", "strings", concat({16, 200}, bytesOf("%s|%S3|%c%%%r")));
    out.write("format_text", "full_width", concat({48, 3}, bytesOf("%D+5 %F1.1 \x82\xa0%Z2")));
    out.write("format_text", "cut", concat({5, 1}, bytesOf("%d-3 \x88\x9f\x88\x9f")));
}

void lzssSeeds(SeedFolder& out) {
    // Three bytes of capacity (little-endian), then the stream.
    const std::string story = zeku::demo::buildStoryTexts().mainScript;
    const Bytes text(story.begin(), story.end());
    const Bytes run(3000, 'a');
    for (const auto& [name, data] : {std::pair{"text", text}, std::pair{"run", run}}) {
        Bytes stream(zeku::lzssMaxEncodedSize(data.size()));
        const ptrdiff_t n =
            zeku::lzssEncode(stream.data(), stream.size(), data.data(), data.size());
        if (n <= 0) return out.fail("an LZSS stream");
        stream.resize(static_cast<size_t>(n));
        const size_t size = data.size();
        const auto fits = concat({static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                                  static_cast<uint8_t>(size >> 16)},
                                 stream);
        out.write("lzss", name, fits);
        // The same stream into too small a buffer.
        out.write("lzss", (std::string(name) + "_overflow").c_str(), concat({100, 0, 0}, stream));
    }
}

void pictureSeeds(SeedFolder& out) {
    struct Picture {
        const char* name;
        int width;
        int height;
        int channels;
        int quality;  // item: 0 raw, 1..3 JBP1
    };
    for (const Picture& p : {Picture{"raw", 20, 12, 3, 0}, Picture{"raw_alpha", 9, 7, 4, 0},
                             Picture{"jbp1", 40, 33, 3, 1}, Picture{"jbp1_alpha", 48, 40, 4, 3}}) {
        const Bytes pixels = testPicture(p.width, p.height, p.channels, true);
        zeku::RbpSourcePicture source;
        source.pixels = pixels.data();
        source.width = source.sourceWidth = p.width;
        source.height = source.sourceHeight = p.height;
        source.stride = static_cast<size_t>(p.width) * p.channels;
        source.bitsPerPixel = p.channels * 8;
        Bytes rbp;
        if (!zeku::encodeRbpPicture(source, p.quality, rbp)) return out.fail("an .rbp picture");
        out.write("rbp", p.name, rbp);
    }
    // Bare JBP1 streams: a padded odd size and a coarse quality.
    for (const auto& [name, width, height, quality] :
         {std::tuple{"odd_size", 17, 9, 100}, std::tuple{"coarse", 32, 24, 40}}) {
        const Bytes pixels = testPicture(width, height, 3, true);
        Bytes stream;
        if (!zeku::jbp1Encode(pixels.data(), width, height, static_cast<size_t>(width) * 3, quality,
                              stream))
            return out.fail("a JBP1 stream");
        out.write("jbp1", name, stream);
    }
}

void conversionSeeds(SeedFolder& out) {
    // The first byte: bit 0 BMP, bits 1-2 the quality item, bits 3-4 the
    // scale (40, 80, 100, 120 percent).
    const Bytes rgb = testPicture(40, 36, 3, false);
    const Bytes rgba = testPicture(33, 35, 4, false);
    std::string error;
    Bytes png;
    if (!zeku::encodePngRgb(40, 36, rgb.data(), png, error)) return out.fail("a PNG picture");
    out.write("picture_conversion", "png_jbp1_80", concat({1 << 1 | 1 << 3}, png));
    if (!zeku::encodePngRgba(33, 35, rgba.data(), png, error)) return out.fail("a PNG picture");
    out.write("picture_conversion", "png_alpha_raw", concat({2 << 3}, png));
    out.write("picture_conversion", "bmp24_120",
              concat({1 | 3 << 3}, zeku::demo::encodeBmp24(40, 36, rgb.data())));
    Bytes indices;
    for (int i = 0; i < 16 * 10; ++i)
        indices.push_back(static_cast<uint8_t>(i % 4));
    const uint8_t palette[] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    out.write("picture_conversion", "bmp8_40",
              concat({1 | 2 << 1}, zeku::demo::encodeBmp8(16, 10, indices.data(), palette, 4)));
}

void soundSeeds(SeedFolder& out) {
    std::vector<int16_t> samples;
    for (int i = 0; i < 400; ++i)
        samples.push_back(static_cast<int16_t>((i % 50) * 1200 - 30000));
    out.write("wave", "mono16", zeku::demo::encodeWav({22050, 1, 16}, samples.data(), 400));
    out.write("wave", "stereo8", zeku::demo::encodeWav({11025, 2, 8}, samples.data(), 200));
    out.write("wave", "stereo16_list",
              zeku::demo::encodeWav({44100, 2, 16}, samples.data(), 200, "demo"));

    // MP3 streams through LAME, as the converter writes them; one with both
    // kinds of tag around it.
    zeku::Mp3EncoderLibrary lame;
    if (!lame.open("")) {
        out.fail("mp3 seeds (no LAME)");
        return;
    }
    const struct {
        const char* name;
        uint32_t rateHz;
        int channels;
        int kbps;
    } streams[] = {
        {"mono22", 22050, 1, 32}, {"stereo44", 44100, 2, 128}, {"stereo22", 22050, 2, 64}};
    for (const auto& s : streams) {
        Bytes mp3;
        std::string error;
        if (!lame.encode(reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2,
                         zeku::Mp3EncodeSettings{s.rateHz, s.channels, s.kbps}, mp3, error)) {
            out.fail("an mp3 seed");
            return;
        }
        out.write("mp3", s.name, mp3);
        if (s.channels == 2 && s.rateHz == 22050) {
            Bytes tagged = concat({'I', 'D', '3', 3, 0, 0, 0, 0, 0, 4, 1, 2, 3, 4}, mp3);
            Bytes v1 = bytesOf("TAG");
            v1.resize(128, ' ');
            tagged.insert(tagged.end(), v1.begin(), v1.end());
            out.write("mp3", "tagged", tagged);
        }
    }
}

// A RIFF WAVE file of the given chunks, written by hand: the project has no
// encoder for the compressed codings.
Bytes riffChunk(const char* id, const Bytes& body) {
    Bytes out(id, id + 4);
    const uint32_t size = static_cast<uint32_t>(body.size());
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(size >> shift));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) out.push_back(0);
    return out;
}

Bytes riffWave(const std::vector<Bytes>& chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks)
        body.insert(body.end(), chunk.begin(), chunk.end());
    return riffChunk("RIFF", body);
}

Bytes le(uint32_t value, int bytes) {
    Bytes out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return out;
}

Bytes joined(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

void codedSoundSeeds(SeedFolder& out) {
    // µ-law, 8 kHz mono: one byte per sample.
    Bytes ulaw(400);
    for (size_t i = 0; i < ulaw.size(); ++i)
        ulaw[i] = static_cast<uint8_t>(i * 37);
    out.write("coded_wave", "ulaw",
              riffWave({riffChunk("fmt ", joined({le(7, 2), le(1, 2), le(8000, 4), le(8000, 4),
                                                  le(1, 2), le(8, 2), le(0, 2)})),
                        riffChunk("fact", le(400, 4)), riffChunk("data", ulaw)}));
    // IMA ADPCM, 22.05 kHz mono, two 256-byte blocks of 505 samples each:
    // a 4-byte block header (first sample, step index, reserved), then nibbles.
    Bytes blocks;
    for (int block = 0; block < 2; ++block) {
        const Bytes header = {0x00, 0x10, static_cast<uint8_t>(20 + block * 10), 0};
        blocks.insert(blocks.end(), header.begin(), header.end());
        for (int i = 0; i < 252; ++i)
            blocks.push_back(static_cast<uint8_t>(i % 3 == 0 ? 0x17 : 0x9A));
    }
    out.write("coded_wave", "ima_adpcm",
              riffWave({riffChunk("fmt ", joined({le(0x11, 2), le(1, 2), le(22050, 4),
                                                  le(22050 * 256 / 505, 4), le(256, 2), le(4, 2),
                                                  le(2, 2), le(505, 2)})),
                        riffChunk("fact", le(1010, 4)), riffChunk("data", blocks)}));
}

void archiveSeeds(SeedFolder& out) {
    // The key, three bytes of data size, two bytes where the first index
    // ends, then both indexes scrambled with the key.
    const std::string first = "archive one\r\n#./script.txt$0*120+#./bg/sora.png$120*4000+";
    const std::string second = "#./script.txt$0*130+#./se/pop.wav$130*900+";
    for (const uint8_t key : {uint8_t{0}, uint8_t{0xA7}}) {
        Bytes text = bytesOf(first + second);
        for (uint8_t& b : text)
            b ^= key;
        const Bytes seed =
            concat({key, 0x00, 0x20, 0x00, static_cast<uint8_t>(first.size()), 0}, text);
        out.write("source_index", key == 0 ? "plain" : "scrambled", seed);
    }
}

void packageSeeds(SeedFolder& out) {
    const zeku::demo::StoryTexts story = zeku::demo::buildStoryTexts();
    const Bytes script = bytesOf(story.mainScript);
    const Bytes messages = bytesOf(story.firstMessages);
    out.write("pack", "compressed",
              zeku::test_support::buildPackage({{"./script.txt", script, true},
                                                {"./mes/mes01.txt", messages, true},
                                                {"./empty.txt", {}, true}}));
    out.write("pack", "stored",
              zeku::test_support::buildPackage({{"./script.txt", script, false}}));
}

void scriptSeeds(SeedFolder& out) {
    const zeku::demo::StoryTexts story = zeku::demo::buildStoryTexts();
    out.write("script_text", "main", story.mainScript);
    out.write("script_text", "branch", story.branchScript);
    out.write("script_text", "sub", story.subScript);
    out.write("script_text", "expressions",
              "|_Start:\r\n@5=1\r\n@a=@l@k\r\n@3=@4==2\r\n#IF(@5==1&&@6<>0||@7==0)\r\n{\r\n"
              "#SetDefaultColor(0,RGB(0x10,255,0))\r\n}\r\n@9++\r\n#END()\r\n");
    out.write("scripted_input", "keys_and_pointer",
              "# a comment\n1 key 0x0D\n2 keydown A\n3 keyup 65\n4 down 10 20\n"
              "4 move 12 22\n5 up 12 22\n6 tap 100 200\n9 close\n");
    out.write("scripted_input", "refused", "1 key\n");
    out.write("message_text", "first", story.firstMessages);
    out.write("message_text", "night", story.nightMessages);
    out.write("message_text", "controls",
              "1,\"@z\",\"A\\c(255,0,0)B\\c()\\nC\\mD\\#(_S,\"./s.txt\")E\\zF\";"
              "2,\"(\",\"\\c(1\\#(\";\r\n3,x,\"@z@z@z@z@z@z\"\r\n!!!");
}

void settingsSeeds(SeedFolder& out) {
    out.write("settings", "full",
              "; settings\r\n[FONT_LIST_CONFIG]\r\nPUT_LIST_00=\"Face One\"\r\nPUT_LIST_01=Two\r\n"
              "[MUSIC_CONFIG]\r\nPCM=1\r\nMEM_STREAM=0\r\nMASTER_VOL=80\r\nMUSIC_VOL=0x32\r\n"
              "[SE_CONFIG]\r\nSE_PLAY=0\r\nSE_VOL=-40\r\n[MESSAGE_CONFIG]\r\nMESSAGE_SPEED=2\r\n"
              "WINDOW_COLOR=13421772\r\nMESSAGE_SADOW=1\r\n[SYSTEM_CONFIG]\r\nKET_CUR_MODE=4\r\n"
              "MESSAGE_FONT_NAME=two\r\n[NAME_CONFIG]\r\nNAME01=\x8D\x82\x8C\xB4\r\n"
              "[KEY_CONFIG]\r\nKEY_A=1b\r\nKEY_D=KEY_C\r\n[PAD_CONFIG]\r\nPAD_Y = KEY_D\r\n");
    out.write(
        "settings", "lf_and_odd_lines",
        "A=1\n[ music _config ]\n pcm = 0 \n[\x83\x5D]\n\x82\xA0=\"q\"\n[MUSIC_CONFIG]\nPCM=2\n"
        "[unclosed\nno equals\n=\n[]\nA==1-2");
}

// Effect operations: opcode, then its fields little-endian (see the target).
void effectSeeds(SeedFolder& out) {
    auto i32 = [](int32_t v) {
        const uint32_t u = static_cast<uint32_t>(v);
        return Bytes{uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
    };
    auto join = [](Bytes head, const Bytes& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const Bytes picture = {0, 5, 0, 0, 0, 0, 0, 0x20, 3, 0x58, 2, 0, 0, 0, 0, 28};
    const Bytes frames = {6, 2, 6, 2, 6, 50, 6, 255};
    auto effect = [&](uint8_t type, int16_t duration, int32_t a, int32_t b, int32_t c) {
        Bytes op = {3, 5, 0, type, uint8_t(duration), uint8_t(duration >> 8)};
        for (int32_t v : {a, b, c}) {
            const Bytes field = i32(v);
            op.insert(op.end(), field.begin(), field.end());
        }
        return op;
    };
    out.write("effects", "columns", join(join(picture, effect(6, 750, 20, 1, 1)), frames));
    out.write("effects", "explosion",
              join(join(picture, effect(240, 900, 10, (4 << 16) | 3, 0)), frames));
    out.write("effects", "diagonal_zero", join(join(picture, effect(21, 500, 0, 0, 0)), frames));
    out.write("effects", "ripple", join(join(picture, effect(49, 400, 30, 7, 2)), frames));
    const Bytes level = {2, 9};
    Bytes fade = effect(191, 300, 0, 1, 0);
    fade[1] = 9;
    out.write("effects", "screen_level", join(join(level, fade), frames));
    out.write("effects", "removed_mid_effect",
              join(join(join(picture, effect(134, 600, 8, 2, 3)), Bytes{6, 4, 5, 5}), frames));
}

}  // namespace

// Save data as the player writes it, behind the target's selector byte: a
// slot file of a 16 × 12 screen, the global data, read marks (one name too
// long to keep) and a thumbnail alone.
void saveDataSeeds(SeedFolder& out) {
    constexpr int w = 16, h = 12;
    Bytes slot(1 + zeku::saveSlotFileBytes(w, h), 0);
    zeku::SaveSlotHeader header;
    std::snprintf(header.dateText, sizeof(header.dateText), "2026-12-08 12:34:56 ");
    std::snprintf(header.scriptName, sizeof(header.scriptName), "./script.txt");
    std::snprintf(header.messageFileName, sizeof(header.messageFileName), "./mes.txt");
    header.position = 120;
    header.numbers[5] = 0xFFFFFFFF;
    std::snprintf(header.strings[11], sizeof(header.strings[11]), "\x8D\x82\x8C\xB4");  // 高原
    zeku::writeSaveSlotHeader(header, slot.data() + 1, slot.size() - 1);
    Bytes screen(size_t(w) * h * 3);
    for (size_t i = 0; i < screen.size(); ++i)
        screen[i] = uint8_t(i * 7);
    const size_t thumbAt = 1 + zeku::thumbnailOffset(w, h);
    zeku::writeThumbnailBmp(screen.data(), w, h, size_t(w) * 3, zeku::thumbnailWidth(w),
                            zeku::thumbnailHeight(w), slot.data() + thumbAt, slot.size() - thumbAt);
    out.write("save_data", "slot", slot);
    Bytes thumbnail(1 + zeku::thumbnailBmpBytes(8, 6), 3);
    zeku::writeThumbnailBmp(screen.data(), w, h, size_t(w) * 3, 8, 6, thumbnail.data() + 1,
                            thumbnail.size() - 1);
    out.write("save_data", "thumbnail", thumbnail);

    Bytes globals(1 + zeku::kGlobalVarsFileBytes, 1);
    std::vector<int32_t> values(zeku::kGlobalVarCount);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = int32_t(i) - 3;
    zeku::writeGlobalVars(values, globals.data() + 1);
    out.write("save_data", "globals", globals);

    zeku::ReadRegistry marks;
    marks.markRead("./script.txt", 10);
    marks.markRead("./script.txt", 250);
    marks.markRead("./sub.txt", 7);
    Bytes read = zeku::encodeReadMarks(marks);
    const std::string longName(40, 'n');
    Bytes withLong = read;
    withLong[0] = 3;
    withLong.insert(withLong.end(), longName.begin(), longName.end());
    withLong.insert(withLong.end(), {0, 1, 0, 0, 0, 9, 0, 0, 0});
    read.insert(read.begin(), 2);
    withLong.insert(withLong.begin(), 2);
    out.write("save_data", "read_marks", read);
    out.write("save_data", "read_marks_long_name", withLong);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    SeedFolder out(argv[1]);
    textSeeds(out);
    lzssSeeds(out);
    pictureSeeds(out);
    codedSoundSeeds(out);
    conversionSeeds(out);
    soundSeeds(out);
    archiveSeeds(out);
    packageSeeds(out);
    scriptSeeds(out);
    effectSeeds(out);
    settingsSeeds(out);
    saveDataSeeds(out);
    return out.ok() ? 0 : 1;
}
