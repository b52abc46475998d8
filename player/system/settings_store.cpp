// The keys of "zeku.cfg", their sections, defaults and limits. The reading
// order follows the start-up order the file was designed around; the
// writing order decides where new keys land in a fresh file.
#include "player/system/settings_store.h"

#include "common/text/sjis.h"

namespace zeku {
namespace {

constexpr char kFontSection[] = "FONT_LIST_CONFIG";
constexpr char kMusicSection[] = "MUSIC_CONFIG";
constexpr char kMessageSection[] = "MESSAGE_CONFIG";
constexpr char kSeSection[] = "SE_CONFIG";
constexpr char kSystemSection[] = "SYSTEM_CONFIG";
constexpr char kNameSection[] = "NAME_CONFIG";
constexpr char kKeySection[] = "KEY_CONFIG";
constexpr char kPadSection[] = "PAD_CONFIG";

constexpr size_t kFontNameLength = 127;
constexpr size_t kBindingLength = 30;

int32_t volume(int32_t value) {
    return value >= 10 && value <= 100 ? value : 100;
}

struct KeyBinding {
    const char* key;
    KeyRole role;
};
constexpr KeyBinding kKeyBindings[] = {
    {"KEY_UP", KeyRole::Up},       {"KEY_DOWN", KeyRole::Down},   {"KEY_LEFT", KeyRole::Left},
    {"KEY_RIGHT", KeyRole::Right}, {"KEY_START", KeyRole::Start}, {"KEY_A", KeyRole::A},
    {"KEY_B", KeyRole::B},         {"KEY_C", KeyRole::C},         {"KEY_D", KeyRole::D},
    {"KEY_E", KeyRole::E},
};

}  // namespace

std::vector<std::string> readPreferredFonts(IniLineList& file, const std::string& path) {
    std::vector<std::string> names;
    std::string name;
    for (int i = 0; i < 15; ++i) {
        const std::string key = "PUT_LIST_" + std::to_string(i / 10) + std::to_string(i % 10);
        if (file.readText(kFontSection, key, "", name, kFontNameLength, path) == 0) break;
        names.push_back(name);
    }
    return names;
}

void loadSettings(IniLineList& file, const std::string& path,
                  const std::vector<std::string>& fontList, const SettingsTargets& into) {
    SystemSettings& s = into.settings;
    auto read = [&](const char* section, const char* key, int32_t fallback) {
        return file.readInt(section, key, fallback, path);
    };
    s.memStream = read(kMusicSection, "MEM_STREAM", 0) != 0 ? 1 : 0;
    s.messageAuto = read(kMessageSection, "MESSAGE_AUTO", 0) != 0 ? 1 : 0;
    s.messageAutoBase = read(kMessageSection, "MESSAGE_AUTO_BASE", 0);
    s.messageAutoOne = read(kMessageSection, "MESSAGE_AUTO_ONE", 0);
    s.sePlay = read(kSeSection, "SE_PLAY", 2);
    s.pcm = read(kMusicSection, "PCM", 2);
    s.masterVolume = volume(read(kMusicSection, "MASTER_VOL", 100));
    s.musicVolume = volume(read(kMusicSection, "MUSIC_VOL", 100));
    s.seVolume = volume(read(kSeSection, "SE_VOL", 100));
    s.transMode = read(kMessageSection, "TRANS_MODE", 0);
    s.messageSpeed = read(kMessageSection, "MESSAGE_SPEED", 1);
    s.windowColour = read(kMessageSection, "WINDOW_COLOR", 0xCCCCCC);
    s.readSkip = read(kMessageSection, "READ_SKIP", 0);
    s.lockSkip = read(kMessageSection, "LOCK_SKIP", 0);
    s.displayFreeMode = read(kSystemSection, "DISP_FREE_MODE", 0);
    s.keyCenterAction = read(kSystemSection, "KEY_CEN_CTRL", 1);
    s.cursorMode = read(kSystemSection, "KET_CUR_MODE", 0);
    s.doublePress = read(kSystemSection, "KET_DOUBLE_CLICK", 0);

    std::string text;
    file.readText(kSystemSection, "MESSAGE_FONT_NAME", "", text, kFontNameLength, path);
    for (size_t i = 0; i < fontList.size(); ++i) {
        if (textEquals(fontList[i], text) == 1) s.fontIndex = static_cast<int32_t>(i);
    }
    if (!text.empty()) into.messageFont = text;

    s.messageShadow = read(kMessageSection, "MESSAGE_SADOW", 0) != 0 ? 1 : 0;

    HeroNames& names = into.names;
    const HeroNames defaults;
    file.readText(kNameSection, "NAME01", defaults.family, names.family, 12, path);
    file.readText(kNameSection, "NAME02", defaults.given, names.given, 12, path);
    file.readText(kNameSection, "NAME03", defaults.nickname, names.nickname, 8, path);
    file.readText(kNameSection, "NAME04", defaults.honorific, names.honorific, 8, path);

    for (const KeyBinding& binding : kKeyBindings) {
        if (file.readText(kKeySection, binding.key, "", text, kBindingLength, path) != 0) {
            bindKey(into.keys, binding.role, text);
        }
    }
    for (const PadButtonName& button : kPadButtonNames) {
        if (file.readText(kPadSection, button.name, "", text, kBindingLength, path) != 0) {
            bindPad(into.pads, button.name, text);
        }
    }
}

void storeSettings(IniLineList& file, const std::string& path, const SystemSettings& s,
                   const std::vector<std::string>& fontList) {
    auto write = [&](const char* section, const char* key, int32_t value) {
        file.writeValue(section, key, std::to_string(value), path);
    };
    write(kMusicSection, "PCM", s.pcm);
    write(kSeSection, "SE_PLAY", s.sePlay);
    write(kMusicSection, "MASTER_VOL", s.masterVolume);
    write(kMusicSection, "MUSIC_VOL", s.musicVolume);
    write(kSeSection, "SE_VOL", s.seVolume);
    const bool fontKnown = s.fontIndex >= 0 && static_cast<size_t>(s.fontIndex) < fontList.size();
    file.writeValue(kSystemSection, "MESSAGE_FONT_NAME",
                    fontKnown ? fontList[static_cast<size_t>(s.fontIndex)] : std::string(), path);
    write(kMessageSection, "TRANS_MODE", s.transMode);
    write(kMessageSection, "MESSAGE_SPEED", s.messageSpeed);
    write(kMessageSection, "MESSAGE_SADOW", s.messageShadow);
    write(kMessageSection, "MESSAGE_AUTO", s.messageAuto);
    write(kMessageSection, "MESSAGE_AUTO_BASE", s.messageAutoBase);
    write(kMessageSection, "MESSAGE_AUTO_ONE", s.messageAutoOne);
    write(kMessageSection, "READ_SKIP", s.readSkip);
    write(kMessageSection, "LOCK_SKIP", s.lockSkip);
    write(kSystemSection, "DISP_FREE_MODE", s.displayFreeMode);
    write(kSystemSection, "KEY_CEN_CTRL", s.keyCenterAction);
    write(kSystemSection, "KET_CUR_MODE", s.cursorMode);
    write(kSystemSection, "KET_DOUBLE_CLICK", s.doublePress);
}

}  // namespace zeku
