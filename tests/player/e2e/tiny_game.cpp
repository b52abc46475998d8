// Building, converting and playing the tests' small games.
#include "tests/player/e2e/tiny_game.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "converter/pipeline/pack_writer.h"
#include "platform/api/png_encoder.h"
#include "platform/api/png_file.h"

namespace zeku::e2e {

namespace fs = std::filesystem;

const Screen& screenHpc() {
    static const Screen screen{"HPC", ZEKU_PLAYER_HPC, 320, 240, 40};
    return screen;
}

const Screen& screenPpc() {
    static const Screen screen{"PPC", ZEKU_PLAYER_PPC, 640, 480, 80};
    return screen;
}

void Picture::fill(int left, int top, int right, int bottom, Rgb colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width);
    bottom = std::min(bottom, height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            at(x, y) = colour;
    }
}

testing::AssertionResult samePicture(const Picture& expected, const Picture& actual) {
    if (expected.width != actual.width || expected.height != actual.height) {
        return testing::AssertionFailure()
               << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
               << "x" << expected.height;
    }
    int differing = 0;
    int firstX = 0, firstY = 0;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (expected.at(x, y) == actual.at(x, y)) continue;
            if (differing++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    if (differing == 0) return testing::AssertionSuccess();
    const Rgb want = expected.at(firstX, firstY);
    const Rgb got = actual.at(firstX, firstY);
    return testing::AssertionFailure()
           << differing << " pixels differ; first at (" << firstX << ", " << firstY << "): got "
           << int(got.red) << "," << int(got.green) << "," << int(got.blue) << " expected "
           << int(want.red) << "," << int(want.green) << "," << int(want.blue);
}

std::vector<uint8_t> pngRgba(int width, int height, const std::function<uint32_t(int, int)>& rgba) {
    std::vector<uint8_t> pixels;
    pixels.reserve(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t value = rgba(x, y);
            pixels.push_back(uint8_t(value >> 24));
            pixels.push_back(uint8_t(value >> 16));
            pixels.push_back(uint8_t(value >> 8));
            pixels.push_back(uint8_t(value));
        }
    }
    std::vector<uint8_t> png;
    std::string error;
    EXPECT_TRUE(encodePngRgba(width, height, pixels.data(), png, error)) << error;
    return png;
}

std::vector<uint8_t> pngFlat(int width, int height, Rgb colour) {
    const std::vector<uint8_t> rgb = [&] {
        std::vector<uint8_t> row;
        row.reserve(size_t(width) * size_t(height) * 3);
        for (int i = 0; i < width * height; ++i) {
            row.push_back(colour.red);
            row.push_back(colour.green);
            row.push_back(colour.blue);
        }
        return row;
    }();
    std::vector<uint8_t> png;
    std::string error;
    EXPECT_TRUE(encodePngRgb(width, height, rgb.data(), png, error)) << error;
    return png;
}

void TinyGame::setScript(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (char c : text) {
        if (c == '\n') bytes.push_back('\r');
        bytes.push_back(static_cast<uint8_t>(c));
    }
    addFile("./script.txt", std::move(bytes));
}

void TinyGame::addFile(const std::string& name, std::vector<uint8_t> bytes) {
    game_.first.push_back(demo::DemoFile{name, std::move(bytes)});
}

bool TinyGame::install(const Screen& screen, const std::string& root) const {
    const std::string source = (fs::path(root) / "source").string();
    std::string error;
    if (!demo::writeSourceGame(source, game_, demo::kDemoGameKey, error)) {
        ADD_FAILURE() << "writing the source game: " << error;
        return false;
    }
    PackWriterSettings settings;
    settings.gameFolder = source;
    settings.outputBase = root;
    settings.scalePercent = screen.scalePercent;
    settings.qualityItem = 0;
    // Sounds become MP3 as the converter's dialog would make them.
    static Mp3EncoderLibrary encoder;
    if (!encoder.isOpen()) encoder.open("");
    if (encoder.isOpen()) settings.encoder = &encoder;
    PackProgress progress;
    const PackWriterReport report = runPackWriter(settings, progress);
    if (!report.ok) {
        ADD_FAILURE() << "conversion: " << report.error;
        return false;
    }
    if (!report.warnings.empty()) {
        ADD_FAILURE() << "conversion warning: " << report.warnings.front();
        return false;
    }
    return true;
}

PlayerRun runPlayer(const Screen& screen, const std::string& root, int frames,
                    const std::vector<int>& shotFrames, const std::string& input,
                    const std::string& extraArguments) {
    const fs::path shots = fs::path(root) / "shots";
    fs::create_directories(shots);
    std::string command = std::string(screen.player) + " --headless --frames " +
                          std::to_string(frames) + " --root " + root;
    for (int frame : shotFrames) {
        command += " --screenshot " + std::to_string(frame) + ":" +
                   (shots / (std::to_string(frame) + ".png")).string();
    }
    if (!input.empty()) {
        const fs::path inputFile = fs::path(root) / "input.txt";
        std::ofstream(inputFile) << input;
        command += " --input " + inputFile.string();
    }
    if (!extraArguments.empty()) command += " " + extraArguments;
    command += " 2>" + (fs::path(root) / "stderr.txt").string();

    PlayerRun run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    {
        std::ifstream errors(fs::path(root) / "stderr.txt");
        run.errors.assign(std::istreambuf_iterator<char>(errors), std::istreambuf_iterator<char>());
    }
    for (int frame : shotFrames) {
        const fs::path file = shots / (std::to_string(frame) + ".png");
        if (!fs::exists(file)) continue;
        PngPicture png;
        std::string error;
        if (!readPng(file.string(), png, error)) {
            ADD_FAILURE() << file << ": " << error;
            continue;
        }
        Picture picture(png.width, png.height, Rgb{});
        for (size_t i = 0; i < picture.pixels.size(); ++i) {
            const uint8_t* p = &png.pixels[i * size_t(png.channels)];
            // Back to the RGB565 value the device holds, whatever the widening.
            picture.pixels[i] = shown(Rgb{p[0], p[1], p[2]});
        }
        run.shots[frame] = std::move(picture);
        fs::remove(file);
    }
    return run;
}

std::string keyPresses(int frame, const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) {
        out += std::to_string(frame) + " key " + name + "\n";
        frame += 4;
    }
    return out;
}

bool readCaptureSamples(const std::string& path, std::vector<int16_t>& samples) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (bytes.size() < 44 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return false;
    uint32_t rate = 0, dataBytes = 0;
    uint16_t channels = 0, bits = 0;
    std::memcpy(&channels, &bytes[22], 2);
    std::memcpy(&rate, &bytes[24], 4);
    std::memcpy(&bits, &bytes[34], 2);
    std::memcpy(&dataBytes, &bytes[40], 4);
    if (rate != 22050 || channels != 2 || bits != 16 || dataBytes != bytes.size() - 44)
        return false;
    samples.resize(dataBytes / 2);
    std::memcpy(samples.data(), &bytes[44], dataBytes);
    return true;
}

}  // namespace zeku::e2e
