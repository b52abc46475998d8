// Loading pictures from a package built here: every stored type's pixels
// and alpha rule, the name rules of the command and the loader, the failure
// rules, and the system image's rebuilt mask.
#include "player/graphics/image_loader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/image/rbp_file.h"
#include "common/image/rbp_picture.h"
#include "common/image/rbp_writer.h"
#include "common/lzss/lzss.h"
#include "common/pack/pack_format.h"
#include "player/data/pack_reader.h"
#include "tests/support/package_builder.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

using test_support::TempFolder;
using test_support::writeBytes;

using Item = test_support::PackageItem;
using test_support::buildPackage;

// A raw file of type 1/11 (3 bytes a pixel) or 13 (2 bytes), or any other type.
std::vector<uint8_t> rawRbp(uint32_t type, int w, int h, const std::vector<uint8_t>& pixels) {
    RbpHeader header;
    header.type = type;
    header.width = static_cast<uint32_t>(w);
    header.height = static_cast<uint32_t>(h);
    std::vector<uint8_t> file(kRbpHeaderLength);
    writeRbpHeader(header, file.data());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

// A blue-green-red-alpha gradient with the alpha values the tests look at.
std::vector<uint8_t> gradient(int w, int h) {
    std::vector<uint8_t> bgra(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &bgra[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<uint8_t>(x * 6);
            p[1] = static_cast<uint8_t>(y * 5);
            p[2] = static_cast<uint8_t>(x + y);
            const uint8_t alphas[4] = {0, 252, 100, 255};
            p[3] = alphas[(x + y) % 4];
        }
    return bgra;
}

std::vector<uint8_t> codedRbp(int w, int h, int bitsPerPixel) {
    std::vector<uint8_t> bgra = gradient(w, h);
    std::vector<uint8_t> pixels;
    if (bitsPerPixel == 24) {
        for (size_t i = 0; i < bgra.size(); i += 4)
            pixels.insert(pixels.end(), &bgra[i], &bgra[i + 3]);
    } else {
        pixels = bgra;
    }
    RbpSourcePicture source;
    source.pixels = pixels.data();
    source.width = w;
    source.height = h;
    source.stride = static_cast<size_t>(w) * (bitsPerPixel / 8);
    source.bitsPerPixel = bitsPerPixel;
    std::vector<uint8_t> file;
    EXPECT_TRUE(encodeRbpPicture(source, 2, file));
    return file;
}

uint8_t withLowBits(uint8_t a) {
    return a == 0 ? 0 : static_cast<uint8_t>(a | 3);
}

class ImageLoaderTest : public ::testing::Test {
  protected:
    void writePackage(const std::vector<Item>& items) { writeBytes(path_, buildPackage(items)); }

    TempFolder folder_{"zeku-gfx"};
    std::string path_ = folder_.file("pack.mlz");
    PackReader reader_;
};

TEST_F(ImageLoaderTest, RawPicturesKeepColourAndFixStoredAlpha) {
    const std::vector<uint8_t> withAlpha = {0x34, 0x12, 0,   0x78, 0x56, 1,   0xBC, 0x9A, 252,
                                            0xFF, 0xFF, 255, 0x01, 0x80, 100, 0x00, 0x00, 2};
    const std::vector<uint8_t> opaque = {0x34, 0x12, 0x78, 0x56};
    writePackage({{"./ev/one.rbp", rawRbp(kRbpRawWithAlpha, 3, 2, withAlpha)},
                  {"./ev/eleven.rbp", rawRbp(kRbpRawWithAlphaToo, 3, 2, withAlpha)},
                  {"./ev/thirteen.rbp", rawRbp(kRbpRaw, 2, 1, opaque)}});
    for (const char* name : {"./ev/one.rbp", "./ev/eleven.rbp"}) {
        Image image;
        ASSERT_TRUE(createImage(image, 5, 4));
        ASSERT_TRUE(loadImageFile(&reader_, path_.c_str(), name, image));
        EXPECT_EQ(image.width, 3u);
        EXPECT_EQ(image.height, 2u);
        EXPECT_EQ(image.stride, 5);  // rows keep the allocated length
        for (int i = 0; i < 6; ++i) {
            const uint8_t* p = image.pixel(i % 3, i / 3);
            EXPECT_EQ(p[0], withAlpha[i * 3]);
            EXPECT_EQ(p[1], withAlpha[i * 3 + 1]);
            EXPECT_EQ(p[2], withLowBits(withAlpha[i * 3 + 2])) << name << " pixel " << i;
        }
        EXPECT_STREQ(image.name, name);
    }
    Image image;
    ASSERT_TRUE(createImage(image, 2, 1));
    ASSERT_TRUE(loadImageFile(&reader_, path_.c_str(), "./ev/thirteen.rbp", image));
    EXPECT_EQ(load565(image.pixel(0, 0)), 0x1234);
    EXPECT_EQ(load565(image.pixel(1, 0)), 0x5678);
    EXPECT_EQ(image.pixel(0, 0)[2], 255);
    EXPECT_EQ(image.pixel(1, 0)[2], 255);
}

TEST_F(ImageLoaderTest, CodedPicturesMatchTheDecoderAndTheirAlphaPlane) {
    const std::vector<uint8_t> opaque = codedRbp(33, 40, 24);
    const std::vector<uint8_t> alpha = codedRbp(33, 40, 32);
    writePackage({{"./bg/thirty.rbp", opaque}, {"./bg/thirtyone.rbp", alpha}});
    for (const auto& [name, file] :
         {std::pair{"./bg/thirty.rbp", &opaque}, std::pair{"./bg/thirtyone.rbp", &alpha}}) {
        RbpPicture decoded;
        ASSERT_TRUE(decodeRbpPicture(file->data(), file->size(), decoded).ok());
        const bool hasPlane = decoded.type == kRbpJbp1WithAlpha;
        EXPECT_EQ(decoded.type, hasPlane ? kRbpJbp1WithAlpha : kRbpJbp1);
        Image image;
        ASSERT_TRUE(createImage(image, 64, 48));
        ASSERT_TRUE(loadImageFile(&reader_, path_.c_str(), name, image));
        EXPECT_EQ(image.width, 33u);
        EXPECT_EQ(image.height, 40u);
        const std::vector<uint8_t> source = gradient(33, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 33; ++x) {
                const uint8_t* p = image.pixel(x, y);
                ASSERT_EQ(load565(p), decoded.color[y * 33 + x]);
                const uint8_t want = hasPlane ? withLowBits(source[(y * 33 + x) * 4 + 3]) : 255;
                ASSERT_EQ(p[2], want) << name << " " << x << "," << y;
            }
        // Pixels beyond the picture inside the allocation stay as they were.
        EXPECT_EQ(image.pixel(33, 0)[2], 0);
        EXPECT_EQ(image.pixel(0, 40)[2], 0);
    }
}

TEST_F(ImageLoaderTest, UnknownTypeSetsTheSizeOnlyAndLargePicturesGetRoom) {
    writePackage({{"./x/odd.rbp", rawRbp(99, 7, 3, {})},
                  {"./x/big.rbp", rawRbp(kRbpRaw, 6, 5, std::vector<uint8_t>(60, 0xFF))}});
    Image image;
    ASSERT_TRUE(createImage(image, 8, 8));
    image.pixel(0, 0)[2] = 77;
    ASSERT_TRUE(loadImageFile(&reader_, path_.c_str(), "./x/odd.rbp", image));
    EXPECT_EQ(image.width, 7u);
    EXPECT_EQ(image.height, 3u);
    EXPECT_EQ(image.pixel(0, 0)[2], 77);

    Image small;
    ASSERT_TRUE(createImage(small, 2, 2));
    ASSERT_TRUE(loadImageFile(&reader_, path_.c_str(), "./x/big.rbp", small));
    EXPECT_GE(small.stride, 6);
    EXPECT_GE(small.rows, 5);
    EXPECT_EQ(load565(small.pixel(5, 4)), 0xFFFF);
}

TEST_F(ImageLoaderTest, FailuresKeepPixelsAndClearTheName) {
    std::vector<uint8_t> damaged = codedRbp(32, 32, 24);
    damaged.resize(damaged.size() - 40);
    writePackage({{"./a.rbp", rawRbp(kRbpRaw, 1, 1, {0x11, 0x22})}, {"./bad.rbp", damaged}});
    Image image;
    ASSERT_TRUE(createImage(image, 1, 1));
    auto expectFailure = [&](PackReader* reader, const std::string& packPath,
                             const std::string& name) {
        setImageName(image, "./old.rbp");
        store565(image.pixel(0, 0), 0x0BAD);
        EXPECT_FALSE(loadImageFile(reader, packPath.c_str(), name, image)) << name;
        EXPECT_EQ(image.name[0], '\0');
        EXPECT_EQ(load565(image.pixel(0, 0)), 0x0BAD);
    };
    expectFailure(&reader_, path_, "./" + std::string(58, 'n') + ".rbp");  // 64 bytes
    expectFailure(&reader_, folder_.file("data") + "/", "./a.rbp");
    expectFailure(&reader_, "data\\", "./a.rbp");
    expectFailure(nullptr, path_, "./a.rbp");
    expectFailure(&reader_, path_, "./missing.rbp");
    expectFailure(&reader_, path_, "./bad.rbp");
    // Names match ignoring case; an upper-case extension is recorded lowered.
    EXPECT_TRUE(loadImageFile(&reader_, path_.c_str(), "./A.RBP", image));
    EXPECT_STREQ(image.name, "./A.rbp");
}

TEST_F(ImageLoaderTest, CommandNamesAndSlots) {
    EXPECT_EQ(withRbpExtension("./bg/sky.png"), "./bg/sky.rbp");
    EXPECT_EQ(withRbpExtension("./bg/sky"), "./bg/sky.rbp");
    EXPECT_EQ(withRbpExtension("./v1.0/sky"), "./v1.0/sky.rbp");
    EXPECT_EQ(withRbpExtension("sky.tar.bmp"), "sky.tar.rbp");
    EXPECT_EQ(rbpNameForCommand("./ST/Hiyo01.png"), "./st/hiyo0101.rbp");
    EXPECT_EQ(rbpNameForCommand("./st/hiyo02.png"), "./st/hiyo02.rbp");

    writePackage({{"./st/hiyo0101.rbp", rawRbp(kRbpRaw, 2, 1, {1, 0, 2, 0})}});
    ImageSlots slots;
    slots.defaultWidth = 800;
    slots.defaultHeight = 600;
    uint32_t error = 0;
    EXPECT_EQ(
        loadImageForCommand(slots, 4, "./st/hiyo01.bmp", &reader_, path_.c_str(), 320, 240, error),
        1);
    const Image* image = imageInSlot(slots, 4);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->stride, 320);  // created at the default size first
    EXPECT_EQ(image->width, 2u);
    EXPECT_STREQ(image->name, "./st/hiyo0101.rbp");
    EXPECT_EQ(
        loadImageForCommand(slots, 4, "./ST/HIYO01.png", &reader_, path_.c_str(), 320, 240, error),
        -1);
    EXPECT_EQ(
        loadImageForCommand(slots, 5, "./st/none.png", &reader_, path_.c_str(), 320, 240, error),
        0);
    EXPECT_NE(imageInSlot(slots, 5), nullptr);  // the slot was filled before the load failed
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(
        loadImageForCommand(slots, 32, "./st/hiyo01.png", &reader_, path_.c_str(), 320, 240, error),
        0);
    EXPECT_EQ(error, kErrorBadImageSlot);
}

// A picture larger than its slot's image gets new pixels only within what
// the other slots leave of the budget; past it the load fails as a bad
// file does and the slot keeps its pixels.
TEST_F(ImageLoaderTest, APictureLargerThanItsSlotGrowsOnlyWithinTheBudget) {
    const int w = 320;
    const int h = 240;
    writePackage({{"./big.rbp", rawRbp(kRbpRaw, w, 3 * h, std::vector<uint8_t>(w * 3 * h * 2))}});
    ImageSlots slots;
    slots.defaultWidth = 1600;  // two screens a slot: 32 of them fill the budget
    uint32_t error = 0;
    for (int slot = 0; slot < kImageSlotCount; ++slot)
        ASSERT_TRUE(imageForCommand(slots, slot, w, h, error)->hasPixels());
    EXPECT_EQ(loadImageForCommand(slots, 3, "./big.png", &reader_, path_.c_str(), w, h, error), 0);
    const Image& kept = *imageInSlot(slots, 3);
    EXPECT_TRUE(kept.hasPixels());
    EXPECT_EQ(kept.stride, 2 * w);
    EXPECT_EQ(kept.name[0], '\0');

    releaseImageSlot(slots, 4);
    EXPECT_EQ(loadImageForCommand(slots, 3, "./big.png", &reader_, path_.c_str(), w, h, error), 1);
    EXPECT_EQ(imageInSlot(slots, 3)->rows, 3 * h);
    EXPECT_EQ(error, 0u);
}

TEST_F(ImageLoaderTest, SystemImageRebuildsItsMaskAndRecordsNoName) {
    // At 320 × 240 the image is 256 × 192; the mask covers 12 rows and 12
    // columns from x = 25, taken from the high colour byte at x = 38 + j.
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 192; ++y)
        for (int x = 0; x < 256; ++x) {
            const uint8_t high = x >= 38 && x < 50 ? static_cast<uint8_t>((x - 38) * 0x10) : 0x77;
            pixels.insert(pixels.end(), {0x00, high, 0x10});
        }
    writePackage({{"./sysetc.rbp", rawRbp(kRbpRawWithAlpha, 256, 192, pixels)}});
    Image image;
    ASSERT_TRUE(loadSystemImage(&reader_, path_.c_str(), 320, 240, image));
    EXPECT_EQ(image.width, 256u);
    EXPECT_EQ(image.name[0], '\0');
    for (int y = 0; y < 13; ++y)
        for (int j = 0; j < 13; ++j) {
            const uint8_t high = static_cast<uint8_t>(j == 12 ? 0x77 : j * 0x10);
            uint8_t want = 0x13;  // as loaded: 0x10 | 3
            if (y < 12 && j < 12) want = high == 0 ? 255 : static_cast<uint8_t>(~(high | 3));
            ASSERT_EQ(image.pixel(25 + j, y)[2], want) << j << "," << y;
        }
    Image missing;
    EXPECT_FALSE(loadSystemImage(&reader_, folder_.file("none.mlz").c_str(), 320, 240, missing));
}

}  // namespace
}  // namespace zeku
