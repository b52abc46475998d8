// The input messages. Messages only record input; the frame step latches it
// at the next tick.
#include "player/shell/game_window.h"

#include <algorithm>

#include "player/shell/font_list.h"
#include "player/shell/input_latch.h"
#include "player/sound/wave_data.h"
#include "player/system/menu_marks.h"

namespace zeku {

GameWindow::GameWindow(const BuildConstants& build, PlatformServices& platform, GameContext& game)
    : WindowBase(build, platform), game_(game) {}

void GameWindow::attachDisplay(const GXDisplayProperties& props, const DeviceTraits& traits) {
    game_.displayProperties = props;
    game_.pointerMap = makePointerMap(build_.screenWidth, traits);
}

void GameWindow::buildFonts(const std::vector<std::string>& preferred) {
    std::vector<FontFamily> installed;
    if (platform_.fonts != nullptr) installed = platform_.fonts->families();
    game_.fontList = buildFontList(preferred, installed);
}

MenuPanelHost GameWindow::menuPanelHost() const {
    MenuPanelHost host;
    host.display = &platform_.display;
    host.properties = game_.displayProperties;
    host.screenWidth = game_.screenWidth;
    host.screenHeight = game_.screenHeight;
    host.device = platform_.device;
    host.storageFolder = game_.paths.saveFolder;
    host.overlayDescription = game_.overlayDescription;
    host.outputRateHz = static_cast<int>(kOutputFormat.sampleRateHz);
    host.glyphs = platform_.glyphs;
    return host;
}

bool GameWindow::openSystemMenu() {
    if (game_.menu.isOpen()) return false;
    markSavePermission(game_.menu.tree(), game_.script.savingEnabled);
    return game_.menu.openMenu(menuPanelHost());
}

void GameWindow::storePointer(intptr_t lParam) {
    const GamePoint p = mapPointer(game_.pointerMap, pointX(lParam), pointY(lParam));
    game_.input.pointerX = p.x;
    game_.input.pointerY = p.y;
}

intptr_t GameWindow::handleMessage(const Message& message) {
    InputState& input = game_.input;
    switch (message.code) {
        case kWmKeyDown:
        case kWmKeyUp: {
            const auto key = static_cast<uint16_t>(message.wParam);
            if (key == kIgnoredVirtualKey) return 0;
            inputKeyEvent(game_.keyMap, game_.padMap, game_.settings, input.keys, key,
                          message.code == kWmKeyDown);
            checkMenuKeys(input, game_.settings, [this] { return openSystemMenu(); });
            return 0;
        }
        case kWmRButtonDown:
        case kWmRButtonUp:
            // The right button is B, the menu key, whatever key B is bound to.
            roleEvent(game_.settings, input.keys, KeyRole::B, message.code == kWmRButtonDown);
            checkMenuKeys(input, game_.settings, [this] { return openSystemMenu(); });
            return 0;
        case kWmLButtonDown: {
            input.buttonDownEvent = true;
            input.buttonHeld = true;
            storePointer(message.lParam);
            return 0;
        }
        case kWmMouseWheel: {
            const int notches = wheelDistance(message.wParam) / kWheelDelta;
            input.wheelNotches = std::clamp(input.wheelNotches + notches, -64, 64);
            return 0;
        }
        case kWmMouseMove: {
            storePointer(message.lParam);
            return 0;
        }
        case kWmLButtonUp:
            // A tap shorter than a frame keeps its pending down event, so the
            // next frame still sees the click (and the release with it).
            input.buttonHeld = false;
            input.buttonReleasedEvent = true;
            return 0;
        default:
            return WindowBase::handleMessage(message);
    }
}

}  // namespace zeku
