// The game state's set-up and the input messages. Messages only record
// input; the frame step latches it at the next tick.
#include "player/shell/game_window.h"

#include "player/shell/font_list.h"

namespace zeku {

GameWindow::GameWindow(const BuildConstants& build, PlatformServices& platform,
                       const std::string& programFolder)
    : WindowBase(build, platform),
      keyMap_(makeKeyMap(platform.display.defaultKeys())),
      paths_(makePathTable(programFolder, build.packageName())) {
    screen_.create(build.screenWidth, build.screenHeight);
}

void GameWindow::attachDisplay(const GXDisplayProperties& props, const DeviceTraits& traits) {
    displayProps_ = props;
    pointerMap_ = makePointerMap(build_.screenWidth, traits);
}

void GameWindow::buildFonts() {
    std::vector<FontFamily> installed;
    if (platform_.fonts != nullptr) installed = platform_.fonts->families();
    // The preferred names come from the settings file.
    fontList_ = buildFontList({}, installed);
}

void GameWindow::storePointer(intptr_t lParam) {
    const GamePoint p = mapPointer(pointerMap_, pointX(lParam), pointY(lParam));
    input_.pointerX = p.x;
    input_.pointerY = p.y;
}

intptr_t GameWindow::handleMessage(const Message& message) {
    switch (message.code) {
        case kWmKeyDown:
        case kWmKeyUp: {
            const auto key = static_cast<uint16_t>(message.wParam);
            if (key == kIgnoredVirtualKey) return 0;
            keyEvent(keyMap_, settings_, input_.keys, key, message.code == kWmKeyDown);
            checkMenuKeys(input_, settings_, [this] { return menu_.openMenu(); });
            return 0;
        }
        case kWmLButtonDown: {
            input_.buttonDownEvent = true;
            input_.buttonHeld = true;
            storePointer(message.lParam);
            return 0;
        }
        case kWmMouseMove: {
            storePointer(message.lParam);
            return 0;
        }
        case kWmLButtonUp:
            // A tap shorter than a frame keeps its pending down event, so the
            // next frame still sees the click (and the release with it).
            input_.buttonHeld = false;
            input_.buttonReleasedEvent = true;
            return 0;
        default:
            return WindowBase::handleMessage(message);
    }
}

}  // namespace zeku
