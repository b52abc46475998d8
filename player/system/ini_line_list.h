// "zeku.cfg" held in memory: its lines and the path they came from. Reads
// and writes work on these lines; flush() puts them back in the file. Every
// line the player does not know (comments, other games' keys) survives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zeku {

// A longer line is cut to this many characters when read.
inline constexpr size_t kMaxIniLineLength = 511;
// A file that would come out larger than this is not written at all.
inline constexpr size_t kMaxIniFileBytes = 131072;

// The lines of a file's bytes: LF or CR LF ends each line; a last line
// without an end counts when it is not empty.
std::vector<std::string> splitIniLines(std::string_view bytes);
// Each line followed by CR LF; false (and `out` empty) when that would pass
// kMaxIniFileBytes.
bool joinIniLines(const std::vector<std::string>& lines, std::string& out);

// The integer a value text stands for (0x hex, else decimal where every
// character is one digit place and a '-' anywhere negates); `fallback` for
// an empty text.
int32_t parseIniInt(std::string_view value, int32_t fallback);

class IniLineList {
  public:
    // Every read and write names its file; naming another file than the one
    // held drops the held lines (unsaved changes are lost) and reads it.
    int32_t readInt(std::string_view section, std::string_view key, int32_t fallback,
                    const std::string& path);
    // The value's length, placed in `out`; an empty or missing value, or
    // one longer than `maxLength`, places `fallback` instead.
    size_t readText(std::string_view section, std::string_view key, std::string_view fallback,
                    std::string& out, size_t maxLength, const std::string& path);
    // Replaces the key's line, or adds one right under its section line,
    // adding the section at the end when it is missing. Memory only.
    void writeValue(std::string_view section, std::string_view key, std::string_view text,
                    const std::string& path);
    // Writes the held lines back (through a temporary file) and drops them;
    // `makeFolder` first makes the file's folder (a per-user one) when it is
    // missing. False when nothing was written: nothing held, too large, or
    // the folder or file cannot be written.
    bool flush(bool makeFolder = false);
    // Forgets the held lines unsaved.
    void drop();

    // Reads `path`; when it does not exist, the lines of `seedPath` (the
    // copy shipped beside the program) are taken instead, still to be
    // written to `path`.
    void open(const std::string& path, const std::string& seedPath = {});
    // Takes `bytes` as the file at `path` (tests and the fuzzer).
    void assign(const std::string& path, std::string_view bytes);

    bool isOpen() const { return open_; }
    const std::string& path() const { return path_; }
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    void use(const std::string& path);
    // The raw value of the key, or nullptr when there is no such key line.
    const std::string* findLine(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
    std::string path_;
    bool open_ = false;
};

}  // namespace zeku
