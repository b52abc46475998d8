// The read marks: for each script file, the positions of the message lines
// already shown, so read-skipping can tell old text from new. Kept in the
// order files were first marked, which is the order they are saved in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zeku {

class ReadRegistry {
  public:
    static constexpr int kMaxFiles = 750;
    static constexpr int kMaxKeys = 511;
    static constexpr size_t kNameCapacity = 32;  // names of at most 31 bytes

    // 1 when `key` is marked for `file`, else 0. A name of 32 bytes or more
    // cannot be recorded and so always counts as read.
    int isRead(std::string_view file, uint32_t key) const;

    // Adds the mark unless it is there, the file has 511 marks, the name is
    // too long, or a new file would be the 751st.
    void markRead(std::string_view file, uint32_t key);

    void clearRead() { files_.clear(); }

    bool empty() const { return files_.empty(); }
    int fileCount() const { return static_cast<int>(files_.size()); }
    // File `index` (0-based, in creation order): its name and marks.
    std::string_view fileName(int index) const;
    std::span<const uint32_t> keys(int index) const;

  private:
    struct File {
        char name[kNameCapacity] = {};
        std::vector<uint32_t> keys;
    };

    int indexOf(std::string_view file) const;  // -1 when the file has no marks

    std::vector<File> files_;
};

}  // namespace zeku
