// Small games built in test code, converted for a screen and played by the
// real player programs headless, with the screenshots read back and checked
// against pictures predicted from the compositor's arithmetic.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/demogame/demo_game.h"

namespace zeku::e2e {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The colour as the device shows it: packed to RGB565 and widened by shifting.
inline Rgb shown(Rgb c) {
    return {static_cast<uint8_t>(c.red & 0xF8), static_cast<uint8_t>(c.green & 0xFC),
            static_cast<uint8_t>(c.blue & 0xF8)};
}

// One of the two builds: its program, its screen and the converter's scale.
struct Screen {
    const char* name;
    const char* player;
    int width;
    int height;
    int scalePercent;
};

const Screen& screenHpc();
const Screen& screenPpc();

// Script coordinates (800 × 600) to the screen's pixels.
inline int toScreenX(const Screen& screen, int x) {
    return x * screen.width / 800;
}
inline int toScreenY(const Screen& screen, int y) {
    return y * screen.height / 600;
}

// A picture of 8-bit colours, as predicted or as read from a screenshot.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Picture() = default;
    Picture(int w, int h, Rgb fill) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    Rgb& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    Rgb at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    // Fills [left, right) × [top, bottom), clipped to the picture.
    void fill(int left, int top, int right, int bottom, Rgb colour);
};

// Equal size and every pixel equal; otherwise says how many differ and where
// the first one is.
testing::AssertionResult samePicture(const Picture& expected, const Picture& actual);

// A PNG entry for the source game: straight RGBA pixels, alpha as the game's
// pictures carry it (0 opaque, 255 clear).
std::vector<uint8_t> pngRgba(int width, int height, const std::function<uint32_t(int, int)>& rgba);
std::vector<uint8_t> pngFlat(int width, int height, Rgb colour);

class TinyGame {
  public:
    // The entry script "./script.txt"; "\n" line ends become CR LF.
    void setScript(const std::string& text);
    void addFile(const std::string& name, std::vector<uint8_t> bytes);

    // Writes the source game and converts it at raw quality for `screen`
    // into `root`/data/. Adds a gtest failure and returns false on error.
    bool install(const Screen& screen, const std::string& root) const;

  private:
    demo::DemoGame game_;
};

struct PlayerRun {
    int exitCode = -1;
    std::string errors;            // what the player wrote on standard error
    std::map<int, Picture> shots;  // by frame; only the ones written
};

// Runs the player headless for `frames` frames in `root` with screenshots
// after the given frames and `input` as the scripted input file text. The
// screenshots come back as shown() colours: the RGB565 values the device
// holds, whichever way the screenshot writer widened them.
PlayerRun runPlayer(const Screen& screen, const std::string& root, int frames,
                    const std::vector<int>& shotFrames, const std::string& input = "",
                    const std::string& extraArguments = "");

// Scripted key presses ("key NAME" events), one every four frames from `frame`.
std::string keyPresses(int frame, const std::vector<std::string>& names);

// The stereo samples of a sound captured with --audio-out (22050 Hz,
// 16 bits); false when the file is not such a capture or is cut short.
bool readCaptureSamples(const std::string& path, std::vector<int16_t>& samples);

}  // namespace zeku::e2e
