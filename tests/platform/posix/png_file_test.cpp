// Screenshot files: pixels survive a read back through libpng, and failed
// writes report one line and leave nothing behind.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/api/png_file.h"

namespace zeku {
namespace {

namespace fs = std::filesystem;

class PngFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zeku-png-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path folder_;
};

// Odd width so a row is not a multiple of four bytes, and every byte differs
// from its neighbours so swapped channels or rows show.
std::vector<uint8_t> testPicture(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<uint8_t>(i * 37 + 11);
    return rgb;
}

bool readPng(const fs::path& path, int& width, int& height, std::vector<uint8_t>& rgb) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    rgb.assign(PNG_IMAGE_SIZE(image), 0);
    return png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
}

TEST_F(PngFile, PixelsRoundTripAndReplaceAnOlderFile) {
    const fs::path path = folder_ / "shot.png";
    std::ofstream(path) << "an older file that is not a picture at all";
    const std::vector<uint8_t> picture = testPicture(7, 5);
    std::string error;
    ASSERT_TRUE(writePngRgb(path.string(), 7, 5, picture.data(), error)) << error;

    int width = 0;
    int height = 0;
    std::vector<uint8_t> back;
    ASSERT_TRUE(readPng(path, width, height, back));
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 5);
    EXPECT_EQ(back, picture);
    EXPECT_EQ(entries(), std::vector<std::string>{"shot.png"});  // no temporary left
}

TEST_F(PngFile, FailuresSayWhyInOneLineAndLeaveNothing) {
    const std::vector<uint8_t> picture = testPicture(4, 4);
    std::string error;

    EXPECT_FALSE(
        writePngRgb((folder_ / "missing" / "shot.png").string(), 4, 4, picture.data(), error));
    EXPECT_NE(error.find("shot.png"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);

    error.clear();
    EXPECT_FALSE(writePngRgb((folder_ / "empty.png").string(), 0, 4, picture.data(), error));
    EXPECT_FALSE(error.empty());

    // libpng itself refuses this width (past its default limit), which
    // exercises the longjmp path after the temporary file exists.
    const int tooWide = 2'000'000;
    const std::vector<uint8_t> wide = testPicture(tooWide, 1);
    error.clear();
    EXPECT_FALSE(writePngRgb((folder_ / "wide.png").string(), tooWide, 1, wide.data(), error));
    EXPECT_NE(error.find("wide.png"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);

    EXPECT_TRUE(entries().empty());
}

TEST_F(PngFile, ReadsAnyKindAsEightBitRgbOrRgba) {
    const std::string rgba = (folder_ / "a.png").string();
    const uint8_t pixels[2 * 4] = {10, 20, 30, 0, 200, 100, 50, 255};
    std::string error;
    ASSERT_TRUE(writePngRgba(rgba, 2, 1, pixels, error)) << error;
    PngPicture picture;
    ASSERT_TRUE(readPng(rgba, picture, error)) << error;
    EXPECT_EQ(picture.channels, 4);
    EXPECT_EQ(picture.pixels, std::vector<uint8_t>(pixels, pixels + 8));  // alpha not premultiplied

    // Grey and 16-bit pictures come back as 8-bit RGB.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = PNG_FORMAT_GRAY;
    const uint8_t grey[2] = {0, 77};
    const std::string greyPath = (folder_ / "g.png").string();
    ASSERT_TRUE(png_image_write_to_file(&image, greyPath.c_str(), 0, grey, 0, nullptr));
    ASSERT_TRUE(readPng(greyPath, picture, error)) << error;
    EXPECT_EQ(picture.channels, 3);
    EXPECT_EQ(picture.pixels, (std::vector<uint8_t>{0, 0, 0, 77, 77, 77}));

    const std::string text = (folder_ / "t.png").string();
    std::FILE* file = std::fopen(text.c_str(), "wb");
    std::fputs("not a picture", file);
    std::fclose(file);
    EXPECT_FALSE(readPng(text, picture, error));
    EXPECT_NE(error.find("t.png"), std::string::npos);
    EXPECT_FALSE(readPngMemory(pixels, sizeof pixels, picture, error));
}

}  // namespace
}  // namespace zeku
