// The system menu's item tree: levels of at most 20 entries, each a command,
// a popup with a child level, or a separator, with check, enable and
// thumbnail flags. Built once at start-up; lookups go by identifier.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zeku {

inline constexpr int kMenuLevelCapacity = 20;
inline constexpr uint32_t kMenuChecked = 0x0001;
inline constexpr uint32_t kMenuEnabled = 0x0002;
inline constexpr uint32_t kMenuHasThumbnail = 0x1000;

enum class MenuEntryKind { Command, Popup, Separator };

// A save slot's picture as the menu shows it: RGB565, top row first.
struct MenuThumbnail {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
};

struct MenuEntry {
    MenuEntryKind kind = MenuEntryKind::Command;
    uint32_t id = 0;
    std::string text;  // Shift-JIS
    uint32_t flags = kMenuEnabled;
    int childLevel = -1;  // popups only: index into MenuTree::levels
    MenuThumbnail thumbnail;

    bool checked() const { return (flags & kMenuChecked) != 0; }
    bool enabled() const { return (flags & kMenuEnabled) != 0; }
    bool hasThumbnail() const { return (flags & kMenuHasThumbnail) != 0; }
    // What the highlight may rest on.
    bool selectable() const { return kind != MenuEntryKind::Separator && enabled(); }
};

struct MenuLevel {
    int parentLevel = -1;  // -1 for the top level
    int parentEntry = -1;
    std::vector<MenuEntry> entries;
};

struct MenuLocation {
    int level = -1;
    int entry = -1;
    explicit operator bool() const { return level >= 0; }
};

class MenuTree {
  public:
    MenuTree();  // holds the empty top level, index 0

    void clear();
    const MenuLevel& level(int index) const { return levels_[static_cast<size_t>(index)]; }
    MenuLevel& level(int index) { return levels_[static_cast<size_t>(index)]; }
    int levelCount() const { return static_cast<int>(levels_.size()); }

    // Each add returns the new entry's index in `level`, or -1 when the
    // level already holds kMenuLevelCapacity entries (nothing is added).
    int addCommand(int level, uint32_t id, std::string_view text);
    int addSeparator(int level);
    // A popup gets a new empty child level; `childLevel` receives its index.
    int addPopup(int level, uint32_t id, std::string_view text, int* childLevel);

    // Depth-first from the top level, each entry before its child level.
    MenuLocation find(uint32_t id) const;
    MenuEntry* entry(uint32_t id);
    const MenuEntry* entry(uint32_t id) const;
    MenuEntry& at(MenuLocation where) {
        return level(where.level).entries[static_cast<size_t>(where.entry)];
    }

    // False when no entry has the identifier.
    bool setChecked(uint32_t id, bool on);
    bool setEnabled(uint32_t id, bool on);
    bool setText(uint32_t id, std::string_view text);
    bool setThumbnail(uint32_t id, MenuThumbnail thumbnail);  // an empty one clears the flag

    // A radio group of `count` consecutive identifiers from `firstId`: only
    // the entry at `selected` is checked; an index outside the group checks none.
    void checkRadio(uint32_t firstId, int count, int selected);

  private:
    int add(int level, MenuEntry entry);

    std::vector<MenuLevel> levels_;
};

}  // namespace zeku
