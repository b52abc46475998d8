// The open menu's input on a small tree: keys walk, open, choose and back
// out; the pointer highlights what can be chosen and acts on release; every
// press the menu takes is consumed. The pointer's hit is given to the pass,
// as the panel would answer it.
#include "player/system/system_menu.h"

#include <gtest/gtest.h>

#include "platform/headless/memory_display.h"

namespace zeku {
namespace {

enum class Op { Key, Move, Release, Rest };

struct Step {
    Op op;
    KeyRole key = KeyRole::E;
    MenuHit hit = {};
    // Expected after the pass.
    int highlighted = -1;
    int depth = 0;
    uint32_t chosen = 0;
    bool open = true;
};

Step key(KeyRole role, int highlighted, int depth = 0, uint32_t chosen = 0, bool open = true) {
    return {Op::Key, role, {}, highlighted, depth, chosen, open};
}
Step move(MenuHit hit, int highlighted, int depth = 0) {
    return {Op::Move, KeyRole::E, hit, highlighted, depth, 0, true};
}
Step release(MenuHit hit, int highlighted, int depth, uint32_t chosen = 0, bool open = true) {
    return {Op::Release, KeyRole::E, hit, highlighted, depth, chosen, open};
}
Step rest(MenuHit hit, int highlighted, int depth = 0) {
    return {Op::Rest, KeyRole::E, hit, highlighted, depth, 0, true};
}

constexpr MenuHit kOutside{false, -1};
constexpr MenuHit kHeader{true, -1};
constexpr MenuHit over(int entry) {
    return {true, entry};
}

// Top: 0 "A" (1), 1 separator, 2 popup "P", 3 "D" (5) disabled.
// P:   0 "B" (2), 1 "X" (3) disabled, 2 "C" (4).
void buildSmallTree(MenuTree& tree) {
    tree.addCommand(0, 1, "A");
    tree.addSeparator(0);
    int p = -1;
    tree.addPopup(0, 0, "P", &p);
    tree.addCommand(0, 5, "D");
    tree.setEnabled(5, false);
    tree.addCommand(p, 2, "B");
    tree.addCommand(p, 3, "X");
    tree.setEnabled(3, false);
    tree.addCommand(p, 4, "C");
}

// A memory display for the panel to draw on.
struct PanelHost {
    MemoryGdiDisplay display;
    MenuPanelHost host;
    PanelHost() {
        display.open(320, 240);
        host.display = &display;
        host.properties = display.properties();
        host.screenWidth = 320;
        host.screenHeight = 240;
    }
};

struct Scenario {
    const char* what;
    std::vector<Step> steps;
};

TEST(SystemMenu, KeysAndPointerWalkOpenChooseAndClose) {
    using R = KeyRole;
    const Scenario scenarios[] = {
        {"up and down skip separators and disabled entries and wrap",
         {key(R::Down, 0), key(R::Down, 2), key(R::Down, 0), key(R::Up, 2), key(R::Up, 0),
          key(R::Up, 2)}},
        {"right opens a popup, left comes back to it, A at the top closes",
         {key(R::Down, 0), key(R::Down, 2), key(R::Right, -1, 1), key(R::Down, 0, 1),
          key(R::Down, 2, 1), key(R::Left, 2, 0), key(R::A, 2, 0, 0, false)}},
        {"A goes back one level like left", {key(R::Up, 2), key(R::Right, -1, 1), key(R::A, 2, 0)}},
        {"left at the top closes", {key(R::Left, -1, 0, 0, false)}},
        {"right on a command chooses it", {key(R::Down, 0), key(R::Right, -1, 0, 1, false)}},
        {"C chooses a command but opens no popup",
         {key(R::Up, 2), key(R::C, 2), key(R::Right, -1, 1), key(R::Up, 2, 1),
          key(R::C, -1, 0, 4, false)}},
        {"C and right without a highlight do nothing", {key(R::C, -1), key(R::Right, -1)}},
        {"B closes from any level",
         {key(R::Up, 2), key(R::Right, -1, 1), key(R::B, -1, 0, 0, false)}},
        {"the pointer highlights what can be chosen and nothing else",
         {move(over(0), 0), move(over(1), -1), move(over(3), -1), move(over(2), 2),
          move(kHeader, -1)}},
        {"release over a popup opens it, over a command chooses it",
         {move(over(2), 2), release(over(2), -1, 1), move(over(1), -1, 1), release(over(1), -1, 1),
          move(over(2), 2, 1), release(over(2), -1, 0, 4, false)}},
        {"a resting pointer outside leaves the keys' highlight alone",
         {key(R::Down, 0), rest(kOutside, 0), move(kOutside, -1),
          release(kOutside, -1, 0, 0, false)}},
        {"a release on the panel's head keeps the menu open",
         {move(over(0), 0), release(kHeader, -1, 0)}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.what);
        PanelHost panel;
        const MenuPanelHost& host = panel.host;
        SystemMenu menu;
        buildSmallTree(menu.tree());
        ASSERT_TRUE(menu.openMenu(host));
        EXPECT_FALSE(menu.openMenu(host));  // open already
        InputState input;
        // The first pass learns where the pointer rests.
        EXPECT_EQ(menu.menuInputAt(input, kOutside), 0u);
        int stepNumber = 0;
        for (const Step& step : s.steps) {
            SCOPED_TRACE(stepNumber++);
            ASSERT_TRUE(menu.isOpen());
            switch (step.op) {
                case Op::Key:
                    input.keys[step.key] = 1;
                    break;
                case Op::Move:
                    input.pointerX += 3;
                    break;
                case Op::Release:
                    input.releaseEdge = 1;
                    break;
                case Op::Rest:
                    break;
            }
            EXPECT_EQ(menu.menuInputAt(input, step.hit), step.chosen);
            EXPECT_EQ(menu.isOpen(), step.open);
            if (step.op == Op::Key) {
                EXPECT_EQ(input.keys[step.key], 2);  // consumed
            }
            if (!step.open) break;
            EXPECT_EQ(menu.cursor().highlighted, step.highlighted);
            EXPECT_EQ(menu.cursor().depth(), step.depth);
        }
        // Closed, the menu takes no input and opens again at the top.
        input.keys[KeyRole::Down] = 1;
        if (!menu.isOpen()) {
            EXPECT_EQ(menu.menuInputAt(input, over(0)), 0u);
            EXPECT_EQ(input.keys[KeyRole::Down], 1);
            EXPECT_TRUE(menu.openMenu(host));
            EXPECT_EQ(menu.cursor().depth(), 0);
            EXPECT_EQ(menu.cursor().highlighted, -1);
        }
    }
}

TEST(SystemMenu, HeldKeysAndPressesTheMenuDoesNotUseAreLeftAlone) {
    PanelHost panel;
    SystemMenu menu;
    buildSmallTree(menu.tree());
    ASSERT_TRUE(menu.openMenu(panel.host));
    InputState input;
    input.keys[KeyRole::Down] = 3;  // a repeat of a press already taken
    input.keys[KeyRole::Start] = 1;
    input.keys[KeyRole::D] = 1;
    EXPECT_EQ(menu.menuInputAt(input, kOutside), 0u);
    EXPECT_EQ(menu.cursor().highlighted, -1);
    EXPECT_EQ(input.keys[KeyRole::Down], 3);
    EXPECT_EQ(input.keys[KeyRole::Start], 1);
    EXPECT_EQ(input.keys[KeyRole::D], 1);
    // Several fresh presses in one pass: all taken; left at the top closes.
    input.keys[KeyRole::Up] = 1;
    input.keys[KeyRole::B] = 1;
    input.keys[KeyRole::Left] = 1;
    EXPECT_EQ(menu.menuInputAt(input, kOutside), 0u);
    EXPECT_FALSE(menu.isOpen());
    EXPECT_EQ(input.keys[KeyRole::B], 2);
    EXPECT_EQ(input.keys[KeyRole::Up], 2);
}

}  // namespace
}  // namespace zeku
