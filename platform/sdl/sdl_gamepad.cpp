// Pad buttons, triggers and stick to key messages. The stick presses a
// direction key past a threshold and releases it only well inside it, so a
// resting thumb does not chatter; the triggers work the same way.
#include "platform/sdl/sdl_gamepad.h"

#include <algorithm>

namespace zeku {
namespace {

constexpr int kStickPress = 16000;
constexpr int kStickRelease = 8000;

}  // namespace

uint16_t virtualKeyFromPadButton(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            return vk::kGamepadA;
        case SDL_CONTROLLER_BUTTON_B:
            return vk::kGamepadB;
        case SDL_CONTROLLER_BUTTON_X:
            return vk::kGamepadX;
        case SDL_CONTROLLER_BUTTON_Y:
            return vk::kGamepadY;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            return vk::kGamepadLeftShoulder;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            return vk::kGamepadRightShoulder;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return vk::kGamepadDpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return vk::kGamepadDpadDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return vk::kGamepadDpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return vk::kGamepadDpadRight;
        case SDL_CONTROLLER_BUTTON_START:
            return vk::kGamepadMenu;
        case SDL_CONTROLLER_BUTTON_BACK:
            return vk::kGamepadView;
        case SDL_CONTROLLER_BUTTON_LEFTSTICK:
            return vk::kGamepadLeftThumb;
        case SDL_CONTROLLER_BUTTON_RIGHTSTICK:
            return vk::kGamepadRightThumb;
        default:
            return 0;
    }
}

void SdlGamepads::open() {
    close();
    held_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!held_) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i)) continue;
        if (SDL_GameController* pad = SDL_GameControllerOpen(i)) pads_.push_back(pad);
    }
}

void SdlGamepads::close() {
    for (SDL_GameController* pad : pads_)
        SDL_GameControllerClose(pad);
    pads_.clear();
    stickX_ = stickY_ = 0;
    leftTrigger_ = rightTrigger_ = false;
    if (held_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    held_ = false;
}

void SdlGamepads::push(uint16_t key, bool down, std::deque<Message>& queue) {
    if (key == 0) return;
    queue.push_back(Message{down ? kWmKeyDown : kWmKeyUp, key, down ? 1 : (3 << 30) | 1});
}

void SdlGamepads::stick(int axis, int value, std::deque<Message>& queue) {
    int& state = axis == SDL_CONTROLLER_AXIS_LEFTX ? stickX_ : stickY_;
    const uint16_t negative =
        axis == SDL_CONTROLLER_AXIS_LEFTX ? vk::kGamepadLeftStickLeft : vk::kGamepadLeftStickUp;
    const uint16_t positive =
        axis == SDL_CONTROLLER_AXIS_LEFTX ? vk::kGamepadLeftStickRight : vk::kGamepadLeftStickDown;
    int next = state;
    if (value >= kStickPress) {
        next = 1;
    } else if (value <= -kStickPress) {
        next = -1;
    } else if (std::abs(value) < kStickRelease) {
        next = 0;
    }
    if (next == state) return;
    if (state != 0) push(state > 0 ? positive : negative, false, queue);
    if (next != 0) push(next > 0 ? positive : negative, true, queue);
    state = next;
}

void SdlGamepads::trigger(int axis, int value, std::deque<Message>& queue) {
    // Triggers rest at 0 and press towards 32767: the stick's thresholds apply.
    const bool left = axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT;
    bool& held = left ? leftTrigger_ : rightTrigger_;
    const bool next = held ? value >= kStickRelease : value >= kStickPress;
    if (next == held) return;
    held = next;
    push(left ? vk::kGamepadLeftTrigger : vk::kGamepadRightTrigger, held, queue);
}

bool SdlGamepads::translate(const SDL_Event& event, std::deque<Message>& queue) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (held_ && SDL_IsGameController(event.cdevice.which)) {
                if (SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which)) {
                    pads_.push_back(pad);
                }
            }
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            for (auto it = pads_.begin(); it != pads_.end(); ++it) {
                SDL_Joystick* joystick = SDL_GameControllerGetJoystick(*it);
                if (joystick != nullptr &&
                    SDL_JoystickInstanceID(joystick) == event.cdevice.which) {
                    SDL_GameControllerClose(*it);
                    pads_.erase(it);
                    break;
                }
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            push(virtualKeyFromPadButton(event.cbutton.button),
                 event.type == SDL_CONTROLLERBUTTONDOWN, queue);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ||
                event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                stick(event.caxis.axis, event.caxis.value, queue);
            } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT ||
                       event.caxis.axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
                trigger(event.caxis.axis, event.caxis.value, queue);
            }
            return true;
        default:
            return false;
    }
}

}  // namespace zeku
