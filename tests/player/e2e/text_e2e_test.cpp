// Message text through the whole chain, on both screens: characters typed
// one per frame at the pen positions the layout predicts, the line break,
// the wait icon blinking, a tap going on to the next message, the history
// shown in grey, and a choice menu decided by keys and by a tap.
#include <gtest/gtest.h>

#include <filesystem>

#include <string>

#include "tests/player/e2e/tiny_game.h"
#include "tests/support/temp_folder.h"

namespace zeku::e2e {
namespace {

constexpr Rgb kSky{0x20, 0x40, 0x80};
constexpr Rgb kA{0x80, 0x20, 0x20};
constexpr Rgb kB{0x20, 0x80, 0x20};
constexpr Rgb kC{0x80, 0x80, 0x20};
constexpr int kBlocks = 30;  // message 1: enough full-width squares to wrap on both screens
const std::string kSquare = "\x81\xa1";  // "■"

std::string squares(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += kSquare;
    return text;
}

struct CellRect {
    int left, top, right, bottom;
};

// Where the layout puts character `index` of a message in the message
// window: a reference model of the line rule for characters that never
// stand in the margin.
struct Layout {
    int originX, originY, size, right;
    explicit Layout(const Screen& s)
        : originX((40 + 10) * s.width / 800),
          originY(300 * s.height / 600),
          size((s.width < 400 ? 32 : 28) * s.width / 800),
          right(s.width - 48 * s.width / 800) {}
    CellRect cell(int index) const {
        int x = originX, y = originY;
        for (int i = 0; i <= index; ++i) {
            if (x + size >= right) {
                x = originX;
                y += size;
            }
            if (i == index) break;
            x += size;
        }
        return {x, y, x + size, y + size};
    }
};

bool inked(const Picture& shot, const CellRect& r, Rgb background) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (!(shot.at(x, y) == background)) return true;
    return false;
}

// How many characters are shown, checking they fill the cells in order.
int shownCharacters(const Picture& shot, const Layout& layout, int count) {
    const Rgb sky = shown(kSky);
    int shownCount = 0;
    while (shownCount < count && inked(shot, layout.cell(shownCount), sky))
        ++shownCount;
    for (int i = shownCount; i < count; ++i)
        EXPECT_FALSE(inked(shot, layout.cell(i), sky)) << "a gap before character " << i;
    return shownCount;
}

class TextRun : public testing::TestWithParam<const Screen*> {
  protected:
    const Screen& screen() const { return *GetParam(); }
    test_support::TempFolder folder_{"zeku-e2e-text"};
    std::string root() const { return folder_.path().string(); }

    void install() {
        TinyGame game;
        game.setScript(
            "|_Start:\n#ResumeSave()\n#CreateImage(0,0,800,600)\n#LoadImage(3,\"./bg/sky.png\")\n"
            "#Paint()\n"
            "#CreateTextf(2,0)\n#Locatef(0,40,20)\n#Locatef(1,40,300)\n"
            "#SetDefaultColor(0,RGB(255,255,0))\n#SetDefaultColor(1,RGB(255,255,255))\n"
            "#LoadTextf(\"./mes.txt\")\n#PrintTextf(1)\n#PrintTextf(2)\n"
            "#SelectEx()\n{\n#Select(0,10,\"_A\",\"./script.txt\")\n"
            "#Select(0,11,\"_B\",\"./script.txt\")\n#Select(0,12,\"_C\",\"./script.txt\")\n}\n"
            "|_A:\n#LoadImage(3,\"./bg/a.png\")\n#Paint()\n#Wait(60000)\n"
            "|_B:\n#LoadImage(3,\"./bg/b.png\")\n#Paint()\n#Wait(60000)\n"
            "|_C:\n#LoadImage(3,\"./bg/c.png\")\n#Paint()\n#Wait(60000)\n#END()\n");
        const std::string messages = "1,\"" + kSquare + "\",\"" + squares(kBlocks) +
                                     "\\m\"\r\n2,\"\",\"" + squares(2) + "\\m\"\r\n10,\"\",\"" +
                                     squares(2) + "\"\r\n11,\"\",\"" + squares(2) +
                                     "\"\r\n12,\"\",\"" + squares(2) + "\"\r\n";
        game.addFile("./mes.txt", std::vector<uint8_t>(messages.begin(), messages.end()));
        game.addFile("./bg/sky.png", pngFlat(800, 600, kSky));
        game.addFile("./bg/a.png", pngFlat(800, 600, kA));
        game.addFile("./bg/b.png", pngFlat(800, 600, kB));
        game.addFile("./bg/c.png", pngFlat(800, 600, kC));
        // The system image: a white wait icon at (64, 0), its mask (black:
        // shown) beside it, the rest opaque black.
        game.addFile("./sysetc.png", pngRgba(640, 480, [](int x, int y) -> uint32_t {
                         return y < 32 && x >= 64 && x < 96 ? 0xFFFFFF00u : 0x00000000u;
                     }));
        ASSERT_TRUE(game.install(screen(), root()));
    }
};

TEST_P(TextRun, TypesWaitsRecallsAndChoosesByKeys) {
    install();
    const Layout layout(screen());
    const std::string input =
        "120 tap 5 5\n"   // message 1 ends, message 2 starts
        "140 key 0x5A\n"  // A (Z): the history
        "150 key 0x5A\n"  // closes it
        "160 tap 5 5\n"   // message 2 ends: the choices
        "170 key 0x28\n"
        "175 key 0x28\n"   // down twice: the second choice
        "180 key 0x43\n";  // C decides
    const std::vector<int> frames{20, 30, 70, 86, 102, 118, 130, 145, 155, 178, 190};
    const PlayerRun run = runPlayer(screen(), root(), 190, frames, input);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.shots.size(), frames.size());
    const Rgb sky = shown(kSky);

    // One character per 16 ms frame at speed 1, in order, wrapping.
    const int at20 = shownCharacters(run.shots.at(20), layout, kBlocks);
    const int at30 = shownCharacters(run.shots.at(30), layout, kBlocks);
    EXPECT_GE(at20, 1);
    EXPECT_EQ(at30, at20 + 10);
    EXPECT_EQ(shownCharacters(run.shots.at(70), layout, kBlocks), kBlocks);
    EXPECT_GT(layout.cell(kBlocks - 1).top, layout.originY) << "the message wraps";
    // The name, instantly, in its own colour.
    const int nameX = (40 + 10) * screen().width / 800 + layout.size / 2;
    const int nameY = 20 * screen().height / 600 + layout.size / 2;
    EXPECT_EQ(run.shots.at(30).at(nameX, nameY), shown(Rgb{255, 255, 0}));

    // The wait icon blinks at (720, 528): shown in some frames, not in others.
    const CellRect icon{toScreenX(screen(), 720), toScreenY(screen(), 528),
                        toScreenX(screen(), 748), toScreenY(screen(), 560)};
    int lit = 0;
    for (int frame : {70, 86, 102, 118})
        lit += inked(run.shots.at(frame), icon, sky) ? 1 : 0;
    EXPECT_GT(lit, 0);
    EXPECT_LT(lit, 4);

    // After the tap: message 1 is gone and message 2 types from the origin.
    EXPECT_EQ(shownCharacters(run.shots.at(130), layout, kBlocks), 2);
    // The history shows message 1 in grey; closing it brings message 2 back.
    const CellRect last = layout.cell(kBlocks - 1);
    EXPECT_EQ(run.shots.at(145).at((last.left + last.right) / 2, (last.top + last.bottom) / 2),
              shown(Rgb{0xCC, 0xCC, 0xCC}));
    EXPECT_EQ(shownCharacters(run.shots.at(155), layout, kBlocks), 2);

    // The choices: the second highlighted, the others in the normal colour.
    const Picture& menu = run.shots.at(178);
    auto centreOf = [&](int line) {
        const int x = layout.originX + layout.size / 2;
        const int y = layout.originY + line * layout.size + layout.size / 2;
        return menu.at(x, y);
    };
    EXPECT_EQ(centreOf(0), shown(Rgb{0x00, 0xFF, 0xFF}));
    EXPECT_EQ(centreOf(1), shown(Rgb{0xFF, 0x00, 0xFF}));
    EXPECT_EQ(centreOf(2), shown(Rgb{0x00, 0xFF, 0xFF}));
    EXPECT_TRUE(
        samePicture(Picture(screen().width, screen().height, shown(kB)), run.shots.at(190)));

    // The save data the run leaves: the choice's rewind save, and from the
    // exit the shared variables and the two messages marked read.
    const std::filesystem::path data = std::filesystem::path(root()) / "data";
    EXPECT_EQ(std::filesystem::file_size(data / "save601.dat"),
              screen().width >= 640 ? 664622u : 175022u);
    EXPECT_EQ(std::filesystem::file_size(data / "save000.dat"), 4592u);
    EXPECT_EQ(std::filesystem::file_size(data / "mes.dat"), 4u + 13 + 4 + 2 * 4);
}

TEST_P(TextRun, ATapOnAChoiceChoosesIt) {
    install();
    const Layout layout(screen());
    const int x = layout.originX + 2;
    const int y = layout.originY + 2 * layout.size + 2;  // inside the third line
    const std::string input =
        "120 tap 5 5\n160 tap 5 5\n170 tap " + std::to_string(x) + " " + std::to_string(y) + "\n";
    const PlayerRun run = runPlayer(screen(), root(), 180, {180}, input);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(
        samePicture(Picture(screen().width, screen().height, shown(kC)), run.shots.at(180)));
}

INSTANTIATE_TEST_SUITE_P(Screens, TextRun, testing::Values(&screenHpc(), &screenPpc()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
}  // namespace zeku::e2e
