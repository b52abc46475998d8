// The package tool as a user runs it: packages built from a folder, listed
// and unpacked again; pictures taken out as PNG and put back; one clear
// line and nothing written for every kind of bad input.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "common/bytes/byte_buffer.h"
#include "common/image/rbp_file.h"
#include "platform/api/png_file.h"
#include "tests/common/image/test_pictures.h"
#include "tests/support/package_builder.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

namespace fs = std::filesystem;
using test_support::readBytes;
using test_support::TempFolder;
using test_support::writeBytes;

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `shell` runs first in the same shell, to set limits for the tool.
ToolRun zekupack(const TempFolder& folder, const std::string& arguments,
                 const std::string& shell = "") {
    const std::string out = folder.file("stdout.txt"), err = folder.file("stderr.txt");
    const std::string command =
        shell + std::string(ZEKUPACK) + " " + arguments + " >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const std::vector<uint8_t> o = readBytes(out), e = readBytes(err);
    run.out.assign(o.begin(), o.end());
    run.err.assign(e.begin(), e.end());
    fs::remove(out);
    fs::remove(err);
    return run;
}

std::vector<uint8_t> bytesOf(const std::string& s) {
    return {s.begin(), s.end()};
}

int lines(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

TEST(Zekupack, CreateListExtractGivesTheFilesBack) {
    TempFolder folder{"zeku-zekupack"};
    std::vector<uint8_t> picture(70000);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<uint8_t>((i * i) >> 9);
    const std::string game = folder.file("game");
    writeBytes(game + "/script.txt", bytesOf("#_Start\r\n#END\r\n"));
    writeBytes(game + "/st/hiyo0101.rbp", picture);
    writeBytes(game + "/se/DING.MP3", bytesOf("ID3 stays as it is"));
    writeBytes(game + "/\xE7\xB5\xB5.txt", bytesOf("picture"));  // "絵": 0x8A 0x47 in Shift-JIS
    writeBytes(game + "/empty.txt", {});

    const std::string package = folder.file("data/pack.mlz");
    fs::create_directories(folder.file("data"));
    ASSERT_EQ(zekupack(folder, "create " + package + " " + game).exitCode, 0);

    const std::vector<uint8_t> bytes = readBytes(package);
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_EQ(loadLe32(&bytes[8]), bytes.size());  // the header's file size
    EXPECT_EQ(loadLe32(&bytes[4]), 5u);
    // Sorted by path; only the sound is stored as it is.
    const char* expected[] = {"./empty.txt", "./script.txt", "./se/DING.MP3", "./st/hiyo0101.rbp",
                              "./\x8A\x47.txt"};
    uint32_t nextOffset = 0;
    for (int i = 0; i < 5; ++i) {
        const uint8_t* entry = &bytes[16 + 84 * i];
        EXPECT_STREQ(reinterpret_cast<const char*>(entry), expected[i]);
        EXPECT_EQ(loadLe32(entry + 72), i == 2 ? 0u : 1u) << expected[i];
        EXPECT_EQ(loadLe32(entry + 76), nextOffset);
        nextOffset += loadLe32(entry + 64);
    }
    EXPECT_LT(loadLe32(&bytes[16 + 84 * 3 + 64]), picture.size());  // compressed

    const ToolRun list = zekupack(folder, "list " + package);
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("./st/hiyo0101.rbp"), std::string::npos);
    EXPECT_NE(list.out.find("./\xE7\xB5\xB5.txt"), std::string::npos);  // shown in UTF-8
    EXPECT_NE(list.out.find("stored"), std::string::npos);

    const std::string out = folder.file("out");
    ASSERT_EQ(zekupack(folder, "extract " + package + " " + out).exitCode, 0);
    EXPECT_EQ(readBytes(out + "/st/hiyo0101.rbp"), picture);
    EXPECT_EQ(readBytes(out + "/script.txt"), bytesOf("#_Start\r\n#END\r\n"));
    EXPECT_EQ(readBytes(out + "/\xE7\xB5\xB5.txt"), bytesOf("picture"));
    EXPECT_TRUE(fs::exists(out + "/empty.txt"));

    const std::string one = folder.file("one");
    ASSERT_EQ(zekupack(folder, "extract " + package + " " + one + " ./SCRIPT.TXT").exitCode, 0);
    EXPECT_TRUE(fs::exists(one + "/script.txt"));
    EXPECT_FALSE(fs::exists(one + "/st"));
    EXPECT_NE(zekupack(folder, "extract " + package + " " + one + " ./none.txt").exitCode, 0);
}

TEST(Zekupack, OfEntriesWithOneNameOnlyTheOneThePlayerReadsComesOut) {
    TempFolder folder{"zeku-zekupack"};
    const std::string package = folder.file("pack.mlz");
    writeBytes(package, test_support::buildPackage({{"./bg/a.rbp", bytesOf("first")},
                                                    {"./BG/A.RBP", bytesOf("second")},
                                                    {"./x.txt", bytesOf("x")},
                                                    {"./bg/a.rbp", bytesOf("third")}}));
    const std::string out = folder.file("out");
    const ToolRun extract = zekupack(folder, "extract " + package + " " + out);
    ASSERT_EQ(extract.exitCode, 0) << extract.err;
    EXPECT_EQ(readBytes(out + "/bg/a.rbp"), bytesOf("first"));
    EXPECT_FALSE(fs::exists(out + "/BG"));
    EXPECT_EQ(readBytes(out + "/x.txt"), bytesOf("x"));
    EXPECT_EQ(lines(extract.err), 2) << extract.err;
    EXPECT_NE(extract.err.find("./BG/A.RBP: entry 1 has the name of entry 0"), std::string::npos)
        << extract.err;

    // Packing files whose names differ in case alone keeps the first.
    const std::string game = folder.file("game");
    writeBytes(game + "/A.TXT", bytesOf("upper"));
    writeBytes(game + "/a.txt", bytesOf("lower"));
    const std::string created = folder.file("created.mlz");
    const ToolRun create = zekupack(folder, "create " + created + " " + game);
    ASSERT_EQ(create.exitCode, 0) << create.err;
    EXPECT_EQ(lines(create.err), 1) << create.err;
    const std::vector<uint8_t> bytes = readBytes(created);
    ASSERT_GE(bytes.size(), 16u + 84);
    EXPECT_EQ(loadLe32(&bytes[4]), 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[16]), "./A.TXT");
}

TEST(Zekupack, BadInputGivesOneLineAndWritesNothing) {
    TempFolder folder{"zeku-zekupack"};
    const std::string game = folder.file("game");
    writeBytes(game + "/a.txt", bytesOf("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"));
    const std::string package = folder.file("pack.mlz");
    ASSERT_EQ(zekupack(folder, "create " + package + " " + game).exitCode, 0);
    const std::vector<uint8_t> good = readBytes(package);

    std::vector<uint8_t> damaged = good;
    storeLe32(&damaged[16 + 76], 5000);  // data offset beyond the end
    const std::string damagedPath = folder.file("damaged.mlz");
    writeBytes(damagedPath, damaged);
    std::vector<uint8_t> notPackage = good;
    notPackage[0] = 'X';
    const std::string notPath = folder.file("not.mlz");
    writeBytes(notPath, notPackage);
    std::vector<uint8_t> shortData = good;
    shortData[16 + 68] += 1;  // unpacks to fewer bytes than recorded
    const std::string shortPath = folder.file("short.mlz");
    writeBytes(shortPath, shortData);
    // A name that climbs out of the output folder.
    std::vector<uint8_t> climbing = good;
    std::snprintf(reinterpret_cast<char*>(&climbing[16]), 64, "./../../evil.txt");
    const std::string climbingPath = folder.file("climbing.mlz");
    writeBytes(climbingPath, climbing);

    const std::string out = folder.file("out");
    for (const std::string& arguments :
         {"list " + folder.file("missing.mlz"), "list " + damagedPath, "list " + notPath,
          "extract " + damagedPath + " " + out, "extract " + shortPath + " " + out,
          "extract " + climbingPath + " " + out, "create " + package + " " + folder.file("none"),
          "rbp2png " + package + " " + folder.file("x.png"),
          "png2rbp " + package + " " + folder.file("x.rbp"),
          "png2rbp " + package + " " + folder.file("x.rbp") + " --quality 50"}) {
        const ToolRun run = zekupack(folder, arguments);
        EXPECT_NE(run.exitCode, 0) << arguments;
        EXPECT_EQ(lines(run.err), 1) << arguments << ": " << run.err;
        EXPECT_EQ(run.err.rfind("zekupack: ", 0), 0u) << run.err;
    }
    EXPECT_FALSE(fs::exists(out + "/a.txt"));
    EXPECT_FALSE(fs::exists(folder.file("../evil.txt")));
    EXPECT_FALSE(fs::exists(folder.file("x.png")));
    EXPECT_FALSE(fs::exists(folder.file("x.rbp")));
    EXPECT_EQ(readBytes(package), good);  // a failed create kept the old package
    // A bad command line is refused before any file is looked at.
    for (const char* arguments :
         {"frobnicate", "png2rbp in.png out.rbp --quality 50", "png2rbp in.png out.rbp --quality",
          "png2rbp in.png out.rbp --quality 9O", "png2rbp in.png out.rbp --qualty 90"}) {
        EXPECT_EQ(zekupack(folder, arguments).exitCode, 2) << arguments;
    }
}

TEST(Zekupack, FailuresNameThePathAndTheCause) {
    TempFolder folder{"zeku-zekupack"};
    std::vector<uint8_t> noise(20000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
    writeBytes(folder.file("game/noise.bin"), noise);
    const std::string package = folder.file("pack.mlz");
    // Past 2 KiB a write fails as on a full disk (EFBIG instead of ENOSPC);
    // the ignored signal stays ignored in the tool.
    const std::string smallDisk = "trap '' XFSZ; ulimit -f 4; ";
    const struct {
        std::string arguments, shell, line;
    } cases[] = {
        {"list " + folder.file("game"), "",
         folder.file("game") + ": cannot read the file (a folder, not a file)"},
        {"create " + package + " " + folder.file("game"), smallDisk,
         "cannot write " + package + ": " + std::strerror(EFBIG)},
    };
    for (const auto& c : cases) {
        const ToolRun run = zekupack(folder, c.arguments, c.shell);
        EXPECT_EQ(run.exitCode, 1) << c.arguments;
        EXPECT_EQ(run.err, "zekupack: " + c.line + "\n");
    }
    EXPECT_FALSE(fs::exists(package));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

// RGB of a PNG read back, and its alpha when it has one.
PngPicture readBack(const std::string& path) {
    PngPicture picture;
    std::string error;
    EXPECT_TRUE(readPng(path, picture, error)) << error;
    return picture;
}

TEST(Zekupack, RawPicturesRoundTripExactly) {
    TempFolder folder{"zeku-zekupack"};
    const test::TestPicture source = test::naturalPicture(45, 30, 4);
    std::vector<uint8_t> rgba(source.pixels.size());
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = source.pixels[i + 2], rgba[i + 1] = source.pixels[i + 1];
        rgba[i + 2] = source.pixels[i], rgba[i + 3] = source.pixels[i + 3];
    }
    std::string error;
    const std::string png = folder.file("in.png");
    ASSERT_TRUE(writePngRgba(png, 45, 30, rgba.data(), error));

    const std::string rbp = folder.file("a.rbp"), back = folder.file("back.png");
    ASSERT_EQ(zekupack(folder, "png2rbp " + png + " " + rbp).exitCode, 0);
    const std::vector<uint8_t> file = readBytes(rbp);
    ASSERT_EQ(file.size(), 36u + 45 * 30 * 3);
    EXPECT_EQ(loadLe32(&file[4]), 1u);  // raw with alpha
    // Stored alpha counts transparency: opaque 255 in the PNG is 0 here.
    EXPECT_EQ(file[36 + 2], 255 - rgba[3]);

    ASSERT_EQ(zekupack(folder, "rbp2png " + rbp + " " + back).exitCode, 0);
    const PngPicture picture = readBack(back);
    ASSERT_EQ(picture.channels, 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        ASSERT_EQ(picture.pixels[i] >> 3, rgba[i] >> 3) << i;
        ASSERT_EQ(picture.pixels[i + 1] >> 2, rgba[i + 1] >> 2) << i;
        ASSERT_EQ(picture.pixels[i + 2] >> 3, rgba[i + 2] >> 3) << i;
        ASSERT_EQ(picture.pixels[i + 3], rgba[i + 3]) << i;
    }

    // Taken out and put back, the file is unchanged.
    const std::string again = folder.file("again.rbp");
    ASSERT_EQ(zekupack(folder, "png2rbp " + back + " " + again + " --quality 0").exitCode, 0);
    EXPECT_EQ(readBytes(again), file);
}

// A raw ".rbp" as the converter writes it: scaled from a larger source, so
// the header's source size differs from the pixels'.
std::vector<uint8_t> rawRbp(uint32_t type, int width, int height) {
    RbpHeader header;
    header.type = type;
    header.width = static_cast<uint32_t>(width);
    header.height = static_cast<uint32_t>(height);
    header.sourceWidth = static_cast<uint16_t>(width * 5 / 2);
    header.sourceHeight = static_cast<uint16_t>(height * 5 / 2);
    std::vector<uint8_t> file(kRbpHeaderLength);
    writeRbpHeader(header, file.data());
    const size_t bytes = static_cast<size_t>(width) * height * (type == kRbpRaw ? 2 : 3);
    for (size_t i = 0; i < bytes; ++i)
        file.push_back(static_cast<uint8_t>(i * 37 + i / 5));
    return file;
}

TEST(Zekupack, ScaledPicturesTakenOutAndPutBackGiveTheSameFile) {
    TempFolder folder{"zeku-zekupack"};
    for (const uint32_t type : {kRbpRaw, kRbpRawWithAlpha}) {
        const std::vector<uint8_t> original = rawRbp(type, 40, 34);
        const std::string rbp = folder.file("a.rbp"), png = folder.file("a.png");
        const std::string again = folder.file("again.rbp");
        writeBytes(rbp, original);
        ASSERT_EQ(zekupack(folder, "rbp2png " + rbp + " " + png).exitCode, 0);
        ASSERT_EQ(zekupack(folder, "png2rbp " + png + " " + again).exitCode, 0);
        EXPECT_EQ(readBytes(again), original) << type;
    }

    // The recorded size counts only for a picture still of the size it was
    // recorded with; a picture made another size is its own source.
    const std::vector<uint8_t> rgb(20 * 10 * 3, 0x55);
    const std::pair<const char*, uint16_t> notes[] = {{"800x600 for 20x10", 800},
                                                      {"800x600 for 10x10", 20},
                                                      {"800x600", 20},
                                                      {"x600 for 20x10", 20}};
    for (const auto& [note, sourceWidth] : notes) {
        const std::string png = folder.file("b.png"), rbp = folder.file("b.rbp");
        std::string error;
        ASSERT_TRUE(writePngRgb(png, 20, 10, rgb.data(), error, {{"Zeku source size", note}}));
        ASSERT_EQ(zekupack(folder, "png2rbp " + png + " " + rbp).exitCode, 0);
        const std::vector<uint8_t> file = readBytes(rbp);
        ASSERT_GE(file.size(), kRbpHeaderLength);
        EXPECT_EQ(loadLe16(&file[20]), sourceWidth) << note;
    }
}

TEST(Zekupack, CodedPicturesKeepTheirLooks) {
    TempFolder folder{"zeku-zekupack"};
    const test::TestPicture source = test::naturalPicture(200, 120, 3);
    std::vector<uint8_t> rgb(source.pixels.size());
    for (size_t i = 0; i < rgb.size(); i += 3)
        rgb[i] = source.pixels[i + 2], rgb[i + 1] = source.pixels[i + 1],
        rgb[i + 2] = source.pixels[i];
    std::string error;
    const std::string png = folder.file("in.png");
    ASSERT_TRUE(writePngRgb(png, 200, 120, rgb.data(), error));

    const std::string rbp = folder.file("a.rbp"), back = folder.file("back.png");
    ASSERT_EQ(zekupack(folder, "png2rbp " + png + " " + rbp + " --quality 90").exitCode, 0);
    EXPECT_EQ(loadLe32(&readBytes(rbp)[4]), 30u);
    ASSERT_EQ(zekupack(folder, "rbp2png " + rbp + " " + back).exitCode, 0);
    const PngPicture picture = readBack(back);
    ASSERT_EQ(picture.channels, 3);
    ASSERT_EQ(picture.pixels.size(), rgb.size());
    double squared = 0;
    for (size_t i = 0; i < rgb.size(); ++i) {
        const double d = static_cast<double>(picture.pixels[i]) - rgb[i];
        squared += d * d;
    }
    const double psnr = 10 * std::log10(255.0 * 255.0 / (squared / rgb.size()));
    EXPECT_GT(psnr, 30.0);
}

}  // namespace
}  // namespace zeku
