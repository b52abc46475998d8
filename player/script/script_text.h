// A script file's text as the call levels share it: the decompressed bytes,
// the package entry they came from, and an index of the file's labels, so
// that a jump finds its label without reading or scanning the file again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/bytes/byte_buffer.h"

namespace zeku {

inline constexpr size_t kLabelMaxLength = 62;

// Offset of the line after the label line "|label:" (letters compared
// without case), or 0 when the label is not found before an "#END" command
// line or the end of the text. A label over 62 bytes is never found.
size_t findLabel(std::string_view text, const char* label);

class ScriptText {
  public:
    // Takes the bytes of the stored file `storedName` of the package at
    // `packagePath` and indexes the labels. Nullptr when the text is too
    // large for the interpreter's 32-bit positions or memory runs out.
    static std::shared_ptr<const ScriptText> make(std::string_view packagePath,
                                                  std::string_view storedName, ByteBuffer bytes);

    std::string_view view() const {
        return std::string_view(reinterpret_cast<const char*>(bytes_.data()), bytes_.size());
    }
    // The same file of the same package (names compared as the package does).
    bool isFile(std::string_view packagePath, std::string_view storedName) const;
    // What findLabel answers for the whole text, without scanning it.
    size_t labelOffset(const char* label) const;

  private:
    struct Label {
        std::string key;  // the label line after "|", letters folded
        uint32_t offset;  // just after the label line
    };

    std::string packagePath_;
    std::string storedName_;
    ByteBuffer bytes_;
    std::vector<Label> labels_;  // sorted by key, the first of equal labels only
};

}  // namespace zeku
