// Saving and loading a game on the 640 × 480 screen, thumbnail and shared
// files included, into a temporary folder; beside each, the same number of
// plain bytes written and read through the same file calls, so the figures
// say what the save itself adds to the disk's own cost.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/api/file_system.h"
#include "player/script/script_loader.h"
#include "player/shell/game_saves.h"
#include "player/system/save_slot_file.h"
#include "tests/support/package_builder.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace zeku;

const char kScript[] = "|_Start:\r\n@1=1\r\n#Wait(100000)\r\n#END()\r\n";

struct SaveBench {
    test_support::TempFolder folder{"zeku-save-bench"};
    GameContext game{kPocketPcBuild, folder.path().string(), GXKeyList{}};

    bool ready() {
        const std::vector<uint8_t> package = test_support::buildPackage(
            {{"./script.txt", std::vector<uint8_t>(kScript, kScript + std::strlen(kScript)),
              false}});
        test_support::writeBytes(game.paths.scriptPackage, package);
        game.packReader.open(game.paths.scriptPackage.c_str(), true);
        if (enterScript(game.script.state, 0, game.packReader, game.paths.scriptPackage.c_str(),
                        "./script.txt", "_Start") != 1)
            return false;
        Image* image = imageForCommand(game.images, 0, game.screenWidth, game.screenHeight,
                                       game.script.errorWord);
        if (image == nullptr || !image->hasPixels() || !game.screen.hasPixels()) return false;
        for (size_t i = 0; i < imagePixelBytes(*image); ++i)
            image->pixels[i] = uint8_t(i * 7);
        for (size_t i = 0; i < size_t(game.screen.rowBytes()) * size_t(game.screenHeight); ++i)
            game.screen.pixels()[i] = uint8_t(i * 3);
        for (int i = 0; i < 40; ++i)
            game.script.readMarks.markRead("./script.txt", uint32_t(i * 30));
        return true;
    }
};

constexpr LocalDateTime kNow{2026, 12, 8, 12, 0, 0};

void SaveGame640(benchmark::State& state) {
    SaveBench bench;
    if (!bench.ready()) return state.SkipWithError("cannot set the game up");
    for (auto _ : state) {
        if (!saveGame(bench.game, 0, kNow)) return state.SkipWithError("save failed");
    }
}
BENCHMARK(SaveGame640)->Unit(benchmark::kMillisecond);

// The same with a message read between saves, so the read marks' file is
// written each time too.
void SaveGame640NewReadMark(benchmark::State& state) {
    SaveBench bench;
    if (!bench.ready()) return state.SkipWithError("cannot set the game up");
    uint32_t key = 100000;
    for (auto _ : state) {
        bench.game.script.readMarks.clearRead();
        bench.game.script.readMarks.markRead("./script.txt", ++key);
        if (!saveGame(bench.game, 0, kNow)) return state.SkipWithError("save failed");
    }
}
BENCHMARK(SaveGame640NewReadMark)->Unit(benchmark::kMillisecond);

void LoadGame640(benchmark::State& state) {
    SaveBench bench;
    if (!bench.ready() || !saveGame(bench.game, 0, kNow))
        return state.SkipWithError("cannot set the game up");
    for (auto _ : state) {
        if (!loadGame(bench.game, 0)) return state.SkipWithError("load failed");
    }
}
BENCHMARK(LoadGame640)->Unit(benchmark::kMillisecond);

// The reference: a slot file's bytes written and read back as they are.
void PlainFileWrite(benchmark::State& state) {
    test_support::TempFolder folder{"zeku-save-bench"};
    const std::vector<uint8_t> bytes(saveSlotFileBytes(640, 480), 0x5A);
    const std::string path = folder.file("plain.dat");
    for (auto _ : state) {
        AtomicFileWriter writer;
        std::string error;
        if (!writer.open(path, error) || !writer.write(bytes.data(), bytes.size()) ||
            !writer.commit(error))
            return state.SkipWithError("write failed");
    }
}
BENCHMARK(PlainFileWrite)->Unit(benchmark::kMillisecond);

void PlainFileRead(benchmark::State& state) {
    test_support::TempFolder folder{"zeku-save-bench"};
    const std::string path = folder.file("plain.dat");
    test_support::writeBytes(path, std::vector<uint8_t>(saveSlotFileBytes(640, 480), 0x5A));
    for (auto _ : state) {
        const ByteBuffer read = readWholeFile(path.c_str());
        benchmark::DoNotOptimize(read.data());
    }
}
BENCHMARK(PlainFileRead)->Unit(benchmark::kMillisecond);

}  // namespace
