// Parser of the scripted-input format. Errors name the line so a test
// author sees at once which event is wrong.
#include "player/shell/scripted_input.h"

#include <algorithm>
#include <charconv>

#include "player/shell/run_options.h"

namespace zeku {
namespace {

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool parseInt(std::string_view text, int& out) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return ec == std::errc() && end == text.data() + text.size();
}

bool parseKey(std::string_view text, int& out) {
    if (text.size() == 1) {
        char c = text[0];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            out = c;
            return true;
        }
    }
    return parseInt(text, out) && out > 0 && out <= 0xFF;
}

}  // namespace

bool parseScriptedInput(std::string_view text, std::vector<TimedMessage>& out, std::string& error) {
    std::vector<TimedMessage> events;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (const size_t hash = line.find('#'); hash != std::string_view::npos) {
            line = line.substr(0, hash);
        }
        const std::vector<std::string_view> w = words(line);
        if (w.empty()) continue;
        auto fail = [&](const char* why) {
            error = "input line " + std::to_string(lineNumber) + ": " + why;
            return false;
        };
        int frame = 0;
        static_assert(kMaxFrameNumber == 100000000, "the message below names the bound");
        if (!parseInt(w[0], frame) || frame < 1 || frame > kMaxFrameNumber) {
            return fail("expected a frame number from 1 to 100000000");
        }
        if (w.size() < 2) return fail("expected an event after the frame");
        const std::string_view kind = w[1];
        if (kind == "keydown" || kind == "keyup" || kind == "key") {
            int key = 0;
            if (w.size() != 3 || !parseKey(w[2], key)) return fail("expected one virtual key");
            const auto vk = static_cast<uintptr_t>(key);
            if (kind != "keyup") events.push_back({frame, {kWmKeyDown, vk, 0}});
            if (kind == "keyup") events.push_back({frame, {kWmKeyUp, vk, 0}});
            if (kind == "key") events.push_back({frame + 1, {kWmKeyUp, vk, 0}});
        } else if (kind == "rdown" || kind == "rup" || kind == "rtap") {
            if (w.size() != 2) return fail("right-button events take nothing more");
            if (kind != "rup") events.push_back({frame, {kWmRButtonDown, 0, 0}});
            if (kind == "rup") events.push_back({frame, {kWmRButtonUp, 0, 0}});
            if (kind == "rtap") events.push_back({frame + 1, {kWmRButtonUp, 0, 0}});
        } else if (kind == "down" || kind == "move" || kind == "up" || kind == "tap") {
            int x = 0, y = 0;
            if (w.size() != 4 || !parseInt(w[2], x) || !parseInt(w[3], y) || x < -32768 ||
                x > 32767 || y < -32768 || y > 32767) {
                return fail("expected X Y client coordinates");
            }
            const intptr_t point = packPoint(x, y);
            if (kind == "down" || kind == "tap")
                events.push_back({frame, {kWmLButtonDown, 0, point}});
            if (kind == "move") events.push_back({frame, {kWmMouseMove, 0, point}});
            if (kind == "up") events.push_back({frame, {kWmLButtonUp, 0, point}});
            if (kind == "tap") events.push_back({frame + 1, {kWmLButtonUp, 0, point}});
        } else if (kind == "wheel") {
            int notches = 0;
            if (w.size() != 3 || !parseInt(w[2], notches) || notches < -64 || notches > 64 ||
                notches == 0) {
                return fail("expected wheel notches from -64 to 64, not 0");
            }
            events.push_back({frame, {kWmMouseWheel, packWheel(notches * kWheelDelta), 0}});
        } else if (kind == "close") {
            if (w.size() != 2) return fail("close takes nothing more");
            events.push_back({frame, {kWmClose, 0, 0}});
        } else {
            return fail(
                "unknown event (keydown, keyup, key, down, move, up, tap, rdown, rup, rtap, wheel, "
                "close)");
        }
    }
    std::stable_sort(
        events.begin(), events.end(),
        [](const TimedMessage& a, const TimedMessage& b) { return a.frame < b.frame; });
    out = std::move(events);
    return true;
}

bool closesRun(const std::vector<TimedMessage>& events) {
    return std::any_of(events.begin(), events.end(),
                       [](const TimedMessage& e) { return e.message.code == kWmClose; });
}

}  // namespace zeku
