// convZeku's command line: the dialog's settings as options.
#include "converter/app/command_line.h"

#include <charconv>
#include <iterator>

namespace zeku {

const char kConvertUsage[] =
    "usage: convZeku --game DIR [options]     convert on the terminal\n"
    "       convZeku [--window] [options]     the converter's window (started\n"
    "                        without arguments on a desktop, it opens by itself)\n"
    "  --game DIR            the installed game (the folder with kumo.exe)\n"
    "  --out DIR             output base; the package goes to DIR/data/ (default: .)\n"
    "  --bitrate N|TEXT      MP3 bit rate: 0..12 or an item such as 64/32kbit (default 3)\n"
    "  --rate 22.05kHz|44.10kHz   sample rate of the sounds, also 22050 or 44100\n"
    "                        (default 22.05kHz)\n"
    "  --stereo | --mono     channels of the sounds (default stereo)\n"
    "  --screen 320*240|640*480   target screen: data/pack.mlz or data/pack_v.mlz\n"
    "  --quality 0..3        0 raw pixels (best), 1..3 JBP1 at 100, 90, 80 (default 0)\n"
    "  --encoder PATH        the MP3 encoder library (default: $ZEKU_MP3_ENCODER,\n"
    "                        else libmp3lame.so.0)\n"
    "  --key N|0xNN          the archives' key, decimal or 0x hexadecimal\n"
    "                        (default: detected)\n"
    "  --jobs N              conversion threads (default: one per core)\n"
    "  --tracks DIR          also convert the game's ripped CD tracks in DIR (WAV, FLAC\n"
    "                        or Ogg Vorbis files named with their track number) to\n"
    "                        data/track_NN.mp3 beside the package\n";

namespace {

bool parseInt(const std::string& text, int& value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value, 10);
    return ec == std::errc() && ptr == end && begin != end;
}

// Decimal, or hexadecimal after "0x": a bare "10" is ten, never sixteen.
bool parseDecimalOrHex(const std::string& text, int& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const char* begin = text.data() + 2;
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(begin, end, value, 16);
        return ec == std::errc() && ptr == end;
    }
    return parseInt(text, value);
}

// An index into `items`: a number, or one of the item texts.
template <size_t N>
bool parseItem(const std::string& text, const char* const (&items)[N], int& index) {
    for (size_t i = 0; i < N; ++i) {
        if (text == items[i]) {
            index = static_cast<int>(i);
            return true;
        }
    }
    int value = 0;
    if (!parseInt(text, value) || value < 0 || static_cast<size_t>(value) >= N) return false;
    index = value;
    return true;
}

// The rate list also takes the rates in hertz its items stand for.
bool parseRate(const std::string& text, int& index) {
    constexpr int kRatesHz[] = {22050, 44100};
    static_assert(std::size(kRatesHz) == std::size(kRateItems));
    for (size_t i = 0; i < std::size(kRatesHz); ++i) {
        if (text == std::to_string(kRatesHz[i])) {
            index = static_cast<int>(i);
            return true;
        }
    }
    return parseItem(text, kRateItems, index);
}

}  // namespace

bool parseConvertOptions(const std::vector<std::string>& arguments, ConvertOptions& options,
                         std::string& error) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--window") {
            options.window = true;
            continue;
        }
        if (option == "--stereo" || option == "--mono") {
            options.stereo = option == "--stereo";
            continue;
        }
        const bool takesValue = option == "--game" || option == "--out" || option == "--bitrate" ||
                                option == "--rate" || option == "--screen" ||
                                option == "--quality" || option == "--encoder" ||
                                option == "--key" || option == "--jobs" || option == "--tracks";
        if (!takesValue) {
            error = "unknown option " + option;
            return false;
        }
        if (i + 1 >= arguments.size()) {
            error = option + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        bool good = true;
        int number = 0;
        if (option == "--game") {
            options.gameFolder = value;
            good = !value.empty();
        } else if (option == "--out") {
            options.outputBase = value;
            good = !value.empty();
        } else if (option == "--bitrate") {
            good = parseItem(value, kBitrateItems, options.bitrateIndex);
        } else if (option == "--rate") {
            good = parseRate(value, options.rateIndex);
        } else if (option == "--screen") {
            std::string normalised = value;
            for (char& c : normalised)
                if (c == 'x' || c == 'X') c = '*';
            good = parseItem(normalised, kResolutionItems, options.resolutionIndex);
        } else if (option == "--quality") {
            good = parseInt(value, number) && number >= 0 && number < kQualityItemCount;
            if (good) options.qualityIndex = number;
        } else if (option == "--encoder") {
            options.encoderPath = value;
            good = !value.empty();
        } else if (option == "--key") {
            good = parseDecimalOrHex(value, number) && number >= 0 && number <= 255;
            if (good) options.key = static_cast<uint8_t>(number);
        } else if (option == "--tracks") {
            options.tracksFolder = value;
            good = !value.empty();
        } else if (option == "--jobs") {
            good = parseInt(value, number) && number >= 1 && number <= 64;
            if (good) options.jobs = number;
        }
        if (!good) {
            error = "bad value for " + option + ": " + value;
            return false;
        }
    }
    return true;
}

bool applyConvertOptions(const ConvertOptions& options, ConvertDialog& dialog, std::string& error) {
    if (!dialog.setGameFolder(options.gameFolder)) {
        error = "the game folder's name is longer than 1023 bytes";
        return false;
    }
    if (!options.outputBase.empty() && !dialog.setOutputBase(options.outputBase)) {
        error = "the output folder's name is longer than 1022 bytes";
        return false;
    }
    dialog.selectBitrate(options.bitrateIndex);
    dialog.selectRate(options.rateIndex);
    dialog.setStereo(options.stereo);
    dialog.selectResolution(options.resolutionIndex);
    dialog.selectQuality(options.qualityIndex);
    dialog.setKey(options.key);
    if (options.jobs > 0) dialog.setJobs(options.jobs);
    dialog.setTracksFolder(options.tracksFolder);
    return true;
}

}  // namespace zeku
