// Saving and loading on the game context. Every file goes out through a
// temporary file and a rename, so a failed write leaves the previous file
// whole; a load checks the slot file and the script it names before it
// touches the running game.
#include "player/shell/game_saves.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "common/text/format_text.h"
#include "common/text/sjis.h"
#include "platform/api/file_system.h"
#include "player/script/command_handlers.h"
#include "player/script/interpreter.h"
#include "player/script/read_marks_file.h"
#include "player/script/script_loader.h"
#include "player/system/global_vars_file.h"
#include "player/system/menu_ids.h"
#include "player/system/save_slot_file.h"
#include "player/system/thumbnail_bmp.h"

namespace zeku {
namespace {

constexpr char kEmptySlotText[] = "---- \x96\xA2\x92\xE8\x8B\x60 ----";  // ---- 未定義 ----

// The saved picture is shown the way a finished fade or #Paint leaves it:
// image 0 as object 0 over the whole screen, on the background layer.
constexpr int kBackgroundObject = 0;
constexpr int kBackgroundLayer = 96;

bool validSlot(int slot) {
    return (slot >= 0 && slot < kMenuSaveSlots) || slot == kChoiceRewindSlot;
}

std::string slotPath(const GameContext& game, int slot) {
    char name[32];
    formatText(name, "save%z3.dat", {FormatArg(slot + 1)});
    return game.paths.saveFolder + name;
}

bool writeAtomically(const std::string& path, const uint8_t* data, size_t size) {
    AtomicFileWriter writer;
    std::string error;
    if (!writer.open(path, error)) return false;
    if (!writer.write(data, size)) return false;
    return writer.commit(error);
}

// The shared files are written on every save and load but seldom change;
// each write waits for the disk, so bytes already there are left alone.
bool writeIfChanged(const std::string& path, const uint8_t* data, size_t size) {
    if (fileSize(path.c_str()) == size) {
        const ByteBuffer old = readWholeFile(path.c_str());
        if (old && old.size() == size && std::memcmp(old.data(), data, size) == 0) return true;
    }
    return writeAtomically(path, data, size);
}

template <size_t N>
void copyText(char (&to)[N], const char* from) {
    textCopy(to, N, from);
}

// The six numbers of a date text, for comparing two saves to the second.
struct DateKey {
    int64_t parts[6] = {};
    auto operator<=>(const DateKey&) const = default;
};

DateKey dateKey(const char* text) {
    DateKey key;
    int part = -1;
    bool inNumber = false;
    for (const char* p = text; *p != 0; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (!inNumber && ++part >= 6) break;
            inNumber = true;
            key.parts[part] = key.parts[part] * 10 + (*p - '0');
            if (key.parts[part] > 99999999) key.parts[part] = 99999999;
        } else {
            inNumber = false;
        }
    }
    return key;
}

void fillHeader(GameContext& game, const LocalDateTime& now, SaveSlotHeader& header) {
    const ScriptEngine& engine = game.script;
    const ScriptState& state = engine.state;
    formatText(header.dateText, "%z4-%z2-%z2 %z2:%z2:%z2 ",
               {FormatArg(now.year), FormatArg(now.month), FormatArg(now.day), FormatArg(now.hour),
                FormatArg(now.minute), FormatArg(now.second)});
    copyText(header.scriptName, state.levels[0].fileName);
    copyText(header.messageFileName, engine.messageFileName);
    header.position = static_cast<uint32_t>(state.levels[0].position);
    for (size_t i = 0; i < 2; ++i)
        header.defaultColours[i] = static_cast<uint32_t>(engine.textSettings[i]);
    for (size_t i = 0; i < 4; ++i)
        header.locate[i] = static_cast<uint32_t>(engine.textSettings[2 + i]);
    // Music that has ended (or never started) is not brought back by a load.
    if (game.cdda.position(game.nowMs) >= 0 && engine.musicFirstTrack != 0) {
        header.musicFirstTrack = static_cast<uint32_t>(engine.musicFirstTrack);
        header.musicSecondTrack = static_cast<uint32_t>(engine.musicSecondTrack);
        header.musicLoop = static_cast<uint32_t>(engine.musicLoop);
    }
    for (size_t i = 0; i < kSavedNumberCount; ++i)
        header.numbers[i] = static_cast<uint32_t>(state.variables.numbers[i]);
    for (size_t i = 0; i < kSavedStringCount; ++i)
        std::memcpy(header.strings[i], state.variables.strings[i].data(), kSavedStringBytes);
}

// The colour bytes of image slot 0's pixels in storage order; an empty or
// smaller slot leaves the rest zero.
void copyPictureOut(const GameContext& game, uint8_t* out, size_t bytes) {
    const Image* image = imageInSlot(game.images, 0);
    if (image == nullptr || !image->hasPixels()) return;
    const size_t stored = size_t(image->stride) * size_t(image->rows);
    const size_t count = std::min(bytes / 2, stored);
    const uint8_t* from = image->pixels.get();
    for (size_t i = 0; i < count; ++i, from += k565aBytes) {
        out[2 * i] = from[0];
        out[2 * i + 1] = from[1];
    }
}

void restorePicture(GameContext& game, const uint8_t* picture) {
    ImageSlots& images = game.images;
    std::unique_ptr<Image>& slot = images.slots[0];
    if (!slot) slot = std::make_unique<Image>();
    const size_t room = imageRoomBytes(images, *slot, game.screenWidth, game.screenHeight);
    if (!createImage(*slot, game.screenWidth, game.screenHeight, room)) return;
    const size_t count = size_t(game.screenWidth) * size_t(game.screenHeight);
    uint8_t* to = slot->pixels.get();
    for (size_t i = 0; i < count; ++i, to += k565aBytes) {
        to[0] = picture[2 * i];
        to[1] = picture[2 * i + 1];
        to[2] = 255;
    }
}

void recreateWindows(GameContext& game) {
    const std::array<int32_t, kTextSettingCount>& settings = game.script.textSettings;
    for (size_t i = 0; i < kMessageWindowCount; ++i) {
        MessageWindow& window = game.messageWindows[i];
        createWindow(window, game.screenWidth, game.screenHeight);
        applyCommandDefaults(window, game.screenWidth, game.screenHeight);
        window.defaultColour = static_cast<uint32_t>(settings[i]);
        window.colour = window.defaultColour;
        setTextOrigin(window, settings[2 + 2 * i], settings[3 + 2 * i], game.screenWidth,
                      game.screenHeight);
    }
}

void stopSounds(GameContext& game) {
    game.cdda.stop();
    game.script.musicFirstTrack = 0;
    game.sound.stopAll();
}

void showSlot(MenuTree& tree, int slot, const char* text, bool used, MenuThumbnail thumbnail) {
    const uint32_t load = menu_id::kLoadFirst + uint32_t(slot);
    const uint32_t save = menu_id::kSaveFirst + uint32_t(slot);
    tree.setText(load, text);
    tree.setText(save, text);
    tree.setEnabled(load, used);
    tree.setEnabled(save, true);
    tree.setChecked(load, false);
    tree.setChecked(save, false);
    tree.setThumbnail(load, thumbnail);
    tree.setThumbnail(save, std::move(thumbnail));
}

void checkNewest(GameContext& game) {
    MenuTree& tree = game.menu.tree();
    for (int slot = 0; slot < kMenuSaveSlots; ++slot) {
        const bool newest = slot == game.saveSlots.newest;
        tree.setChecked(menu_id::kLoadFirst + uint32_t(slot), newest);
        tree.setChecked(menu_id::kSaveFirst + uint32_t(slot), newest);
    }
}

}  // namespace

bool saveGame(GameContext& game, int slot, const LocalDateTime& now) {
    if (!validSlot(slot)) return false;
    const int w = game.screenWidth;
    const int h = game.screenHeight;
    const size_t total = saveSlotFileBytes(w, h);
    ByteBuffer block = ByteBuffer::allocate(total);
    if (!block) return false;
    std::memset(block.data(), 0, total);

    auto header = std::make_unique<SaveSlotHeader>();
    fillHeader(game, now, *header);
    if (!writeSaveSlotHeader(*header, block.data(), total)) return false;
    copyPictureOut(game, block.data() + kSaveSlotHeaderBytes, savedPictureBytes(w, h));
    const size_t thumbAt = thumbnailOffset(w, h);
    if (game.screen.hasPixels()) {
        writeThumbnailBmp(game.screen.pixels(), game.screen.width(), game.screen.height(),
                          size_t(game.screen.rowBytes()), thumbnailWidth(w), thumbnailHeight(w),
                          block.data() + thumbAt, total - thumbAt);
    }
    if (!writeAtomically(slotPath(game, slot), block.data(), total)) return false;
    writePersistent(game);

    if (slot == kChoiceRewindSlot) return true;
    listSlots(game);
    game.saveSlots.newest = slot;  // the one just written, whatever its date says
    checkNewest(game);
    return true;
}

bool loadGame(GameContext& game, int slot) {
    if (!validSlot(slot)) return false;
    const ByteBuffer file = readWholeFile(slotPath(game, slot).c_str());
    if (!file) return false;
    Parsed<SaveSlotView> parsed =
        parseSaveSlot(file.data(), file.size(), game.screenWidth, game.screenHeight);
    if (!parsed) return false;
    const SaveSlotHeader& header = parsed->header;

    // The script must be there and the position inside it before anything changes.
    auto scratch = std::make_unique<ScriptState>();
    if (enterScript(*scratch, 0, game.packReader, game.paths.scriptPackage.c_str(),
                    header.scriptName, nullptr) != 1) {
        return false;
    }
    const int32_t position = static_cast<int32_t>(header.position);
    if (position < 0 || static_cast<uint32_t>(position) > scratch->levels[0].size) return false;

    stopSounds(game);
    writePersistent(game);

    ScriptEngine& engine = game.script;
    ScriptState& state = engine.state;
    resetScriptTables(engine);
    // Whatever the running game had on screen belongs to it, not to the
    // loaded one: the saved picture replaces it all.
    removeAllObjects(game.objects);
    copyText(engine.messageFileName, header.messageFileName);
    state.levels[0] = scratch->levels[0];
    state.levels[0].position = position;
    if (engine.messageFileName[0] != 0) {
        ScriptContext context = makeScriptContext(game);
        loadMessageFile(context, engine.messageFileName);
    }
    engine.musicFirstTrack = static_cast<int32_t>(header.musicFirstTrack);
    engine.musicSecondTrack = static_cast<int32_t>(header.musicSecondTrack);
    engine.musicLoop = static_cast<int32_t>(header.musicLoop);

    for (size_t i = 0; i < kSavedNumberCount; ++i)
        state.variables.numbers[i] = static_cast<int32_t>(header.numbers[i]);
    for (size_t i = 0; i < kSavedStringCount; ++i)
        std::memcpy(state.variables.strings[i].data(), header.strings[i], kSavedStringBytes);

    restorePicture(game, parsed->picture);
    createPictureObject(game.objects, game.images, kBackgroundObject, 0, 0, 0, 800, 600, 0, 0, 0, 0,
                        kBackgroundLayer);
    for (size_t i = 0; i < 2; ++i)
        engine.textSettings[i] = static_cast<int32_t>(header.defaultColours[i]);
    for (size_t i = 0; i < 4; ++i)
        engine.textSettings[2 + i] = static_cast<int32_t>(header.locate[i]);
    recreateWindows(game);

    if (engine.musicFirstTrack != 0) {
        const SystemSettings& settings = game.settings;
        game.cdda.play(
            trackFileName(engine.musicFirstTrack).c_str(), game.paths.musicFolder.c_str(),
            settings.musicVolume * settings.masterVolume / 100, engine.musicLoop, game.nowMs);
    }
    readPersistent(game);
    engine.savingEnabled = true;
    game.updateList.add(ScreenRect{0, 0, game.screenWidth, game.screenHeight});
    return true;
}

void writePersistent(GameContext& game) {
    uint8_t globals[kGlobalVarsFileBytes];
    const auto& numbers = game.script.state.variables.numbers;
    writeGlobalVars(
        std::span<const int32_t>(numbers.data() + kPersistentVariableFirst, kGlobalVarCount),
        globals);
    writeIfChanged(game.paths.saveFolder + "save000.dat", globals, sizeof(globals));

    const ReadRegistry& marks = game.script.readMarks;
    if (marks.empty()) return;  // an empty registry leaves the old file alone
    const std::vector<uint8_t> bytes = encodeReadMarks(marks);
    writeIfChanged(game.paths.saveFolder + "mes.dat", bytes.data(), bytes.size());
}

void readPersistent(GameContext& game) {
    ScriptVariables& variables = game.script.state.variables;
    const ByteBuffer globals = readWholeFile((game.paths.saveFolder + "save000.dat").c_str());
    if (globals) {
        std::span<int32_t> persistent(variables.numbers.data() + kPersistentVariableFirst,
                                      kGlobalVarCount);
        (void)readGlobalVars(globals.data(), globals.size(), persistent);
    }
    const HeroNames& names = game.heroNames;
    applyHeroNames(variables, names.family, names.given, names.nickname, names.honorific);

    if (!game.script.readMarks.empty()) return;
    const ByteBuffer marks = readWholeFile((game.paths.saveFolder + "mes.dat").c_str());
    if (!marks) return;
    Parsed<ReadRegistry> read = decodeReadMarks(marks.data(), marks.size());
    if (read) game.script.readMarks = std::move(*read);
}

void listSlots(GameContext& game) {
    SaveSlotBook& book = game.saveSlots;
    MenuTree& tree = game.menu.tree();
    book.newest = -1;
    DateKey newestKey;
    const size_t thumbAt = thumbnailOffset(game.screenWidth, game.screenHeight);
    for (int slot = 0; slot < kMenuSaveSlots; ++slot) {
        const std::string path = slotPath(game, slot);
        const MappedView view =
            fileExists(path.c_str()) ? MappedView::map(path.c_str()) : MappedView();
        char date[kSaveDateBytes];
        book.used[size_t(slot)] = view && readSaveDate(view.data(), view.size(), date);
        if (!book.used[size_t(slot)]) {
            showSlot(tree, slot, kEmptySlotText, false, MenuThumbnail{});
            continue;
        }
        MenuThumbnail thumbnail;
        if (thumbAt < view.size()) {
            Parsed<MenuThumbnail> decoded =
                decodeThumbnailBmp(view.data() + thumbAt, view.size() - thumbAt);
            if (decoded) thumbnail = std::move(*decoded);
        }
        showSlot(tree, slot, date, true, std::move(thumbnail));
        const DateKey key = dateKey(date);
        if (book.newest < 0 || key > newestKey) {
            book.newest = slot;
            newestKey = key;
        }
    }
    checkNewest(game);
}

void returnToTitle(GameContext& game) {
    stopSounds(game);
    writePersistent(game);
    ScriptContext context = makeScriptContext(game);
    restartScript(context);
}

void takeChoiceSave(GameContext& game, const LocalDateTime& now) {
    game.menu.tree().setEnabled(menu_id::kRewindChoice, true);
    saveGame(game, kChoiceRewindSlot, now);
    game.saveSlots.rewindAvailable = true;
}

void rewindChoice(GameContext& game) {
    if (!game.saveSlots.rewindAvailable) return;
    game.menu.tree().setEnabled(menu_id::kRewindChoice, false);
    loadGame(game, kChoiceRewindSlot);
    game.saveSlots.rewindAvailable = false;
}

void startSaveData(GameContext& game) {
    // No choice has been made yet, so there is nothing to go back to.
    game.menu.tree().setEnabled(menu_id::kRewindChoice, false);
    game.saveSlots.rewindAvailable = false;
    listSlots(game);
    game.script.savingEnabled = false;
    readPersistent(game);
}

void carryOutSaveRequest(GameContext& game, const LocalDateTime& now) {
    const SaveRequest request = game.script.saveRequest;
    game.script.saveRequest = SaveRequest::None;
    switch (request) {
        case SaveRequest::ChoiceSave:
            takeChoiceSave(game, now);
            break;
        case SaveRequest::QuickSave:
            if (game.script.savingEnabled) saveGame(game, 0, now);
            break;
        case SaveRequest::QuickLoad:
            loadGame(game, 0);
            break;
        case SaveRequest::None:
            break;
    }
}

}  // namespace zeku
