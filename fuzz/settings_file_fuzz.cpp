// Fuzzes the settings file: arbitrary bytes taken as "zeku.cfg", every key
// the player reads (and some it does not) looked up, the settings loaded and
// stored back, and the result rendered to memory as flush() would write it.
// Lines stay within their bound, a written value reads back, and the
// rendered file splits into the same lines again.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/api/frame_buffer_layouts.h"
#include "player/system/settings_store.h"

namespace {

constexpr char kPath[] = "fuzz/zeku.cfg";

void check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zeku::IniLineList file;
    file.assign(kPath, text);
    for (const std::string& line : file.lines())
        check(line.size() <= zeku::kMaxIniLineLength);

    static const char* const kKeys[][2] = {
        {"MUSIC_CONFIG", "PCM"},   {"music_config", "master_vol"},
        {"SE_CONFIG", "SE_VOL"},   {"MESSAGE_CONFIG", "WINDOW_COLOR"},
        {"NAME_CONFIG", "NAME01"}, {"KEY_CONFIG", "KEY_A"},
        {"PAD_CONFIG", "PAD_A"},   {"", "A"},
        {"\x83\x5D", "\x82\xA0"},
    };
    std::string out;
    for (const auto& key : kKeys) {
        file.readInt(key[0], key[1], 0, kPath);
        const size_t length = file.readText(key[0], key[1], "x", out, 12, kPath);
        check(length == out.size() && length >= 1 && length <= 12);
    }

    zeku::SystemSettings settings;
    std::string messageFont;
    zeku::HeroNames names;
    zeku::KeyMap keys = zeku::makeKeyMap(zeku::defaultKeyList(size % 2 == 0));
    zeku::PadMap pads = zeku::makePadMap(keys);
    const std::vector<std::string> fonts = zeku::readPreferredFonts(file, kPath).empty()
                                               ? std::vector<std::string>{"Face"}
                                               : zeku::readPreferredFonts(file, kPath);
    zeku::loadSettings(file, kPath, fonts,
                       zeku::SettingsTargets{settings, messageFont, names, keys, pads});
    check(settings.masterVolume >= 10 && settings.masterVolume <= 100);
    check(names.family.size() <= 12 && names.nickname.size() <= 8);
    zeku::storeSettings(file, kPath, settings, fonts);
    check(file.readInt("MUSIC_CONFIG", "MASTER_VOL", -1, kPath) == settings.masterVolume);

    file.writeValue("ZZ_FUZZ", "VALUE", "123", kPath);
    check(file.readInt("zz_fuzz", "value", 0, kPath) == 123);

    std::string rendered;
    if (zeku::joinIniLines(file.lines(), rendered)) {
        check(rendered.size() <= zeku::kMaxIniFileBytes);
        check(zeku::splitIniLines(rendered) == file.lines());
    } else {
        check(rendered.empty());
    }
    return 0;
}
