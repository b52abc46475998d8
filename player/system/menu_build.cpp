// Builds the menu tree. Texts are Shift-JIS as the menu shows them.
#include "player/system/menu_build.h"

#include <algorithm>

#include "common/text/sjis.h"
#include "player/system/menu_ids.h"

namespace zeku {
namespace {

namespace id = menu_id;

constexpr char kLoad[] = "\xDB\xB0\xC4\xDE";  // ﾛｰﾄﾞ
constexpr char kSave[] = "\xBE\xB0\xCC\xDE";  // ｾｰﾌﾞ
constexpr char kRewind[] =
    "\x82\xD0\x82\xC6\x82\xC2\x91\x4F\x82\xCC\x91\x49\x91\xF0"
    "\x8E\x88\x82\xC9\x96\xDF\x82\xE9";           // ひとつ前の選択肢に戻る
constexpr char kSettings[] = "\x90\xDD\x92\xE8";  // 設定
constexpr char kMasterVolume[] = "\x8A\xEE\x8F\x80\x89\xB9\x97\xCA";  // 基準音量
constexpr char kMusic[] = "\xD0\xAD\xB0\xBC\xDE\xAF\xB8";             // ﾐｭｰｼﾞｯｸ
constexpr char kVolume[] = "\x89\xB9\x97\xCA";                        // 音量
constexpr char kPlay[] = "\x8D\xC4\x90\xB6";                          // 再生
constexpr char kEffects[] = "\x8C\xF8\x89\xCA\x89\xB9";               // 効果音
constexpr char kCentreKey[] = "\xB6\xB0\xBF\xD9\x92\x86\x89\x9B";     // ｶｰｿﾙ中央
constexpr char kOff[] = "\x96\xB3\x8C\xF8";                           // 無効
constexpr char kDoublePress[] = "\x93\xF1\x93\x78\x89\x9F\x82\xB5\x90\xDD\x92\xE8";  // 二度押し設定
constexpr char kCursorMode[] = "\xB6\xB0\xBF\xD9\x93\xAE\x8D\xEC\xD3\xB0\xC4\xDE";  // ｶｰｿﾙ動作ﾓｰﾄﾞ
constexpr char kManners[] = "\xCF\xC5\xB0\xD3\xB0\xC4\xDE";              // ﾏﾅｰﾓｰﾄﾞ
constexpr char kMessage[] = "\xD2\xAF\xBE\xB0\xBC\xDE";                  // ﾒｯｾｰｼﾞ
constexpr char kFont[] = "\xCC\xAB\xDD\xC4\x91\x49\x91\xF0";             // ﾌｫﾝﾄ選択
constexpr char kAntiAlias[] = "\xB1\xDD\xC1\xB4\xB2\xD8\xB1\xBD";        // ｱﾝﾁｴｲﾘｱｽ
constexpr char kShadow[] = "\x89\x65\x95\xB6\x8E\x9A";                   // 影文字
constexpr char kSpeed[] = "\x95\x5C\x8E\xA6\x91\xAC\x93\x78";            // 表示速度
constexpr char kAuto[] = "\x8E\xA9\x93\xAE\x91\x97\x82\xE8";             // 自動送り
constexpr char kAutoOn[] = "\x97\x4C\x8C\xF8\x82\xC9\x82\xB7\x82\xE9";   // 有効にする
constexpr char kBase[] = "\x8A\xEE\x8F\x80";                             // 基準
constexpr char kChar[] = "\x95\xB6\x8E\x9A";                             // 文字
constexpr char kColon[] = "\x81\x46";                                    // ：
constexpr char kSkip[] = "\xBD\xB7\xAF\xCC\xDF\x90\xA7\x8C\xE4";         // ｽｷｯﾌﾟ制御
constexpr char kUnreadStop[] = "\x96\xA2\x93\xC7\x92\xE2\x8E\x7E";       // 未読停止
constexpr char kSkipLock[] = "\xBD\xB7\xAF\xCC\xDF\xDB\xAF\xB8";         // ｽｷｯﾌﾟﾛｯｸ
constexpr char kToTitle[] = "\xC0\xB2\xC4\xD9\x82\xC9\x96\xDF\x82\xE9";  // ﾀｲﾄﾙに戻る
constexpr char kQuit[] = "\x8F\x49\x97\xB9";                             // 終了

constexpr const char* kCentreActions[] = {
    kOff,
    "\xD2\xC6\xAD\xB0\x95\x5C\x8E\xA6",          // ﾒﾆｭｰ表示
    "\xB3\xA8\xDD\xC4\xDE\xB3\x8F\xC1\x8B\x8E",  // ｳｨﾝﾄﾞｳ消去
    "\xC3\xB7\xBD\xC4\x89\xF1\x91\x7A",          // ﾃｷｽﾄ回想
    "\xB8\xB2\xAF\xB8\xBE\xB0\xCC\xDE",          // ｸｲｯｸｾｰﾌﾞ
    "\xB8\xB2\xAF\xB8\xDB\xB0\xC4\xDE",          // ｸｲｯｸﾛｰﾄﾞ
};
constexpr const char* kCursorModes[] = {
    "\x92\xCA\x8F\xED",                  // 通常
    "\x8A\xEE\x96\x7B\x97\x7D\x90\xA7",  // 基本抑制
    "\x89\xA1\x97\x44\x90\xE6",          // 横優先
    "\x8F\x63\x97\x44\x90\xE6",          // 縦優先
    "\x8A\xAE\x91\x53\x97\x7D\x90\xA7",  // 完全抑制
};
constexpr const char* kMannerModes[] = {
    "\x8B\x43\x82\xC9\x82\xB5\x82\xC8\x82\xA2\x82\xE6",  // 気にしないよ
    "\x8F\xAD\x82\xB5\x82\xAD\x82\xE7\x82\xA2\x82\xC8\x82\xE7\x81\x63\x81\x63",  // 少しくらいなら……
    ("\x8C\xA9\x82\xBF\x82\xE1\x83\x5F\x83\x81\x82\xA8\x8C\x5A\x82\xBF\x82\xE1\x82\xF1"
     "\x81\x49"),  // 見ちゃダメお兄ちゃん！
};
constexpr const char* kAntiAliasModes[] = {
    kOff,
    "\x8E\xE3",  // 弱
    "\x92\x86",  // 中
    "\x8B\xAD",  // 強
};
constexpr const char* kSpeeds[] = {
    "\x91\xAC\x82\xA2",  // 速い
    "\x95\x81\x92\xCA",  // 普通
    "\x92\x78\x82\xA2",  // 遅い
};

// A popup with no command of its own; returns its child level.
int popup(MenuTree& tree, int level, const char* text, uint32_t identifier = 0) {
    int child = -1;
    tree.addPopup(level, identifier, text, &child);
    return child;
}

template <size_t N>
void commands(MenuTree& tree, int level, uint32_t firstId, const char* const (&texts)[N]) {
    for (size_t i = 0; i < N; ++i)
        tree.addCommand(level, firstId + static_cast<uint32_t>(i), texts[i]);
}

// "100%" .. "10%".
void volumes(MenuTree& tree, int level, uint32_t firstId) {
    for (int i = 0; i < id::kVolumeSteps; ++i) {
        tree.addCommand(level, firstId + static_cast<uint32_t>(i),
                        std::to_string(100 - 10 * i) + "%");
    }
}

// "LOAD_001" .. "LOAD_015": placeholders until the slot list names them.
void slots(MenuTree& tree, int level, uint32_t firstId, const char* prefix) {
    for (int i = 0; i < id::kSlotCount; ++i) {
        const int n = i + 1;
        std::string name = prefix;
        name += static_cast<char>('0' + n / 100);
        name += static_cast<char>('0' + n / 10 % 10);
        name += static_cast<char>('0' + n % 10);
        tree.addCommand(level, firstId + static_cast<uint32_t>(i), name);
    }
}

void buildSettings(MenuTree& tree, int level) {
    volumes(tree, popup(tree, level, kMasterVolume), id::kMasterVolumeFirst);

    const int music = popup(tree, level, kMusic);
    volumes(tree, popup(tree, music, kVolume), id::kMusicVolumeFirst);
    tree.addSeparator(music);
    tree.addCommand(music, id::kMusicPlay, kPlay);

    const int effects = popup(tree, level, kEffects);
    volumes(tree, popup(tree, effects, kVolume), id::kEffectVolumeFirst);
    tree.addSeparator(effects);
    tree.addCommand(effects, id::kEffectsPlay, kPlay);

    const int centre = popup(tree, level, kCentreKey);
    commands(tree, centre, id::kCentreActionFirst, kCentreActions);
    tree.addSeparator(centre);
    tree.addCommand(centre, id::kDoublePress, kDoublePress);

    commands(tree, popup(tree, level, kCursorMode), id::kCursorModeFirst, kCursorModes);
    commands(tree, popup(tree, level, kManners), id::kDisplayFreeFirst, kMannerModes);
}

void buildMessage(MenuTree& tree, int level, const std::vector<std::string>& fontList) {
    const int fonts = popup(tree, level, kFont);
    const size_t fontCount = std::min(fontList.size(), static_cast<size_t>(kMenuFontLimit));
    for (size_t i = 0; i < fontCount; ++i) {
        tree.addCommand(fonts, id::kFontFirst + static_cast<uint32_t>(i),
                        menuFontText(fontList[i]));
    }

    const int antiAlias = popup(tree, level, kAntiAlias);
    commands(tree, antiAlias, id::kAntiAliasFirst, kAntiAliasModes);
    tree.addSeparator(antiAlias);
    tree.addCommand(antiAlias, id::kShadowText, kShadow);

    commands(tree, popup(tree, level, kSpeed), id::kSpeedFirst, kSpeeds);

    const int autoAdvance = popup(tree, level, kAuto);
    tree.addCommand(autoAdvance, id::kAutoAdvance, kAutoOn);
    const int base = popup(tree, autoAdvance, kBase);
    const int perChar = popup(tree, autoAdvance, kChar);
    for (int i = 0; i < 10; ++i) {
        // The colon is kept apart: a digit after a "\x.." escape would join it.
        tree.addCommand(base, id::kAutoBaseFirst + static_cast<uint32_t>(i),
                        std::string(kBase) + kColon + std::to_string(200 * (i + 1)) + "ms");
        tree.addCommand(perChar, id::kAutoOneFirst + static_cast<uint32_t>(i),
                        std::string(kChar) + kColon + std::to_string(10 * i) + "ms");
    }

    const int skip = popup(tree, level, kSkip);
    tree.addCommand(skip, id::kReadSkipStop, kUnreadStop);
    tree.addCommand(skip, id::kSkipLock, kSkipLock);
}

}  // namespace

std::string menuFontText(std::string_view name) {
    if (name.size() <= kMenuFontTextBytes) return std::string(name);
    // Walk the characters: only a real lead byte in the last kept place
    // takes its trail byte along.
    size_t i = 0;
    while (i < kMenuFontTextBytes) {
        i += isLeadByte(static_cast<unsigned char>(name[i])) ? 2 : 1;
    }
    return std::string(name.substr(0, i));
}

void buildSystemMenu(MenuTree& tree, const std::vector<std::string>& fontList) {
    tree.clear();
    const int top = 0;
    slots(tree, popup(tree, top, kLoad, id::kLoadPopup), id::kLoadFirst, "LOAD_");
    slots(tree, popup(tree, top, kSave, id::kSavePopup), id::kSaveFirst, "SAVE_");
    tree.addCommand(top, id::kRewindChoice, kRewind);
    tree.addSeparator(top);
    buildSettings(tree, popup(tree, top, kSettings));
    buildMessage(tree, popup(tree, top, kMessage), fontList);
    tree.addSeparator(top);
    tree.addCommand(top, id::kReturnToTitle, kToTitle);
    tree.addSeparator(top);
    tree.addCommand(top, id::kQuit, kQuit);
}

}  // namespace zeku
