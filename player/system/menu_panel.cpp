// The menu panel: the game picture read back from the display, the panel
// painted over a copy of it in the old three-dimensional look, and only the
// panel's rectangle (or the whole screen on a level change) written back.
#include "player/system/menu_panel.h"

#include <algorithm>
#include <cstddef>

#include "player/graphics/glyph_surface.h"
#include "player/graphics/pixel_format.h"
#include "player/graphics/screen_surface.h"
#include "player/system/frame_buffer_access.h"
#include "player/system/menu_bitmaps.h"
#include "player/system/status_line.h"

namespace zeku {
namespace {

constexpr uint32_t kFaceColour = 0xD4D0C8;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kDarkShadow = 0x404040;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGreyText = 0x808080;
constexpr uint32_t kBandColour = 0x000080;
constexpr uint16_t kThumbnailEdge565 = 0x630C;

// Text is measured by bytes: a half-width character is half the 12-pixel font.
constexpr int kByteWidth = kGlyphSurfaceDefaultHeight / 2;
constexpr int kEntryTop = 34;
constexpr int kEntryPitch = 13;
constexpr int kEntryTextX = 12;

int entryRow(int index) {
    return kEntryTop + kEntryPitch * index;
}

void putPixel(ScreenSurface& s, int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= s.width() || y >= s.height()) return;
    uint8_t* p = s.pixel(x, y);
    const ColourChannels c = channelsOf(colour);
    p[0] = static_cast<uint8_t>(c.value[0]);
    p[1] = static_cast<uint8_t>(c.value[1]);
    p[2] = static_cast<uint8_t>(c.value[2]);
}

void fillRect(ScreenSurface& s, ScreenRect r, uint32_t colour) {
    r = clipRect(r, s.width(), s.height());
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            putPixel(s, x, y, colour);
    }
}

// Rows and columns with both ends included.
void rowLine(ScreenSurface& s, int y, int x0, int x1, uint32_t colour) {
    fillRect(s, {x0, y, x1 + 1, y + 1}, colour);
}
void columnLine(ScreenSurface& s, int x, int y0, int y1, uint32_t colour) {
    fillRect(s, {x, y0, x + 1, y1 + 1}, colour);
}

// A groove: a grey row with a white one under it.
void etchedLine(ScreenSurface& s, int y, int x, int length) {
    rowLine(s, y, x, x + length - 1, kGreyText);
    rowLine(s, y + 1, x, x + length - 1, kWhite);
}

void drawMark(ScreenSurface& s, const MenuMark& mark, int x, int y, uint32_t colour) {
    for (int row = 0; row < kMenuMarkHeight; ++row) {
        for (int column = 0; column < kMenuMarkWidth; ++column) {
            if (menuMarkInked(mark, column, row)) putPixel(s, x + column, y + row, colour);
        }
    }
}

// Disabled things are embossed: a white copy one pixel down-right, grey on top.
void drawMarkFor(ScreenSurface& s, const MenuMark& mark, int x, int y, bool enabled) {
    if (enabled) {
        drawMark(s, mark, x, y, kBlack);
        return;
    }
    drawMark(s, mark, x + 1, y + 1, kWhite);
    drawMark(s, mark, x, y, kGreyText);
}

void copyArea(const ScreenSurface& from, ScreenSurface& to, const ScreenRect& area) {
    const ScreenRect r = clipRect(area, to.width(), to.height());
    for (int y = r.top; y < r.bottom; ++y)
        std::copy_n(from.pixel(r.left, y), static_cast<size_t>(r.width()) * 3, to.pixel(r.left, y));
}

bool hasUsableThumbnail(const MenuEntry& entry) {
    const MenuThumbnail& t = entry.thumbnail;
    return entry.hasThumbnail() && !t.empty() &&
           t.pixels.size() >= static_cast<size_t>(t.width) * static_cast<size_t>(t.height);
}

// The picture the panel is painted on, and what it draws text with.
struct PanelCanvas {
    ScreenSurface screen;
    GlyphSurface glyphs;
    // The thumbnail's area with its border, and what it covers.
    ScreenRect thumbnailArea;
    ScreenSurface underThumbnail;
    bool thumbnailShown = false;
};

struct PanelSize {
    int width = 0;
    int height = 0;
    int entryCount = 0;
};

const std::vector<MenuEntry>* entriesOf(const MenuTree& tree, const MenuCursor& cursor) {
    if (cursor.levels.empty()) return nullptr;
    const int level = cursor.currentLevel();
    if (level < 0 || level >= tree.levelCount()) return nullptr;
    return &tree.level(level).entries;
}

const MenuEntry* entryAtIndex(const MenuTree& tree, const MenuCursor& cursor, int index) {
    const std::vector<MenuEntry>* entries = entriesOf(tree, cursor);
    if (entries == nullptr || index < 0 || index >= static_cast<int>(entries->size()))
        return nullptr;
    return &(*entries)[static_cast<size_t>(index)];
}

void drawEntry(PanelCanvas& st, const MenuEntry& entry, int index, int width, bool highlighted) {
    ScreenSurface& s = st.screen;
    const int y = entryRow(index);
    if (entry.kind == MenuEntryKind::Separator) {
        etchedLine(s, y + 6, kEntryTextX, width - 24);
        return;
    }
    if (highlighted) {
        fillRect(s, {11, y, width - 11, y + kEntryPitch}, kBandColour);
        st.glyphs.drawText(s, kEntryTextX, y, entry.text, kWhite);
    } else if (entry.enabled()) {
        st.glyphs.drawText(s, kEntryTextX, y, entry.text, kBlack);
    } else {
        st.glyphs.drawText(s, kEntryTextX + 1, y + 1, entry.text, kWhite);
        st.glyphs.drawText(s, kEntryTextX, y, entry.text, kGreyText);
    }
    if (entry.kind == MenuEntryKind::Popup)
        drawMarkFor(s, kMenuArrow, width - 10, y, entry.enabled());
    if (entry.checked()) drawMarkFor(s, kMenuCheck, 4, y, entry.enabled());
}

void restoreThumbnail(PanelCanvas& st) {
    if (!st.thumbnailShown) return;
    copyArea(st.underThumbnail, st.screen, st.thumbnailArea);
    st.thumbnailShown = false;
}

// At the screen's top-right corner: a white column on its left one row
// taller than it, and under it a dark grey row and a black one.
void showThumbnail(PanelCanvas& st, const MenuThumbnail& t) {
    ScreenSurface& s = st.screen;
    const int right = s.width();
    const int left = right - t.width;
    st.thumbnailArea = clipRect({left - 1, 0, right, t.height + 2}, s.width(), s.height());
    if (st.underThumbnail.width() != s.width() || st.underThumbnail.height() != s.height()) {
        if (!st.underThumbnail.create(s.width(), s.height())) return;
    }
    copyArea(s, st.underThumbnail, st.thumbnailArea);
    st.thumbnailShown = true;
    for (int y = 0; y < t.height && y < s.height(); ++y) {
        const uint16_t* row = t.pixels.data() + static_cast<size_t>(y) * t.width;
        for (int x = std::max(0, -left); x < t.width; ++x) {
            const uint16_t c = row[x];
            uint8_t* p = s.pixel(left + x, y);
            p[0] = static_cast<uint8_t>(blue8Of(c));
            p[1] = static_cast<uint8_t>(green8Of(c));
            p[2] = static_cast<uint8_t>(red8Of(c));
        }
    }
    columnLine(s, left - 1, 0, t.height, kWhite);
    const uint32_t edge = red8Of(kThumbnailEdge565) << 16 | green8Of(kThumbnailEdge565) << 8 |
                          blue8Of(kThumbnailEdge565);
    rowLine(s, t.height, left, right - 1, edge);
    rowLine(s, t.height + 1, left - 1, right - 1, kBlack);
}

void highlightEntry(PanelCanvas& st, const MenuTree& tree, const MenuCursor& cursor, int width) {
    const MenuEntry* entry = entryAtIndex(tree, cursor, cursor.highlighted);
    if (entry == nullptr || !entry->selectable()) return;
    drawEntry(st, *entry, cursor.highlighted, width, true);
    if (hasUsableThumbnail(*entry)) showThumbnail(st, entry->thumbnail);
}

PanelSize drawPanel(PanelCanvas& st, const MenuPanelHost& host, const MenuTree& tree,
                    const MenuCursor& cursor) {
    ScreenSurface& s = st.screen;
    const bool wide = host.screenWidth >= kWideStatusWidth;
    const StatusFacts facts = readStatusFacts(host.device, host.storageFolder, wide);
    const std::string date = formatDateLine(facts, wide);
    const std::vector<std::string> names = menuPathNames(tree, cursor);
    const std::string path =
        formatPathLine(names, wide, host.overlayDescription, host.outputRateHz);
    const std::vector<MenuEntry>* entries = entriesOf(tree, cursor);
    const int count =
        entries == nullptr ? 0 : std::min(static_cast<int>(entries->size()), kMenuLevelCapacity);

    int width = std::max(kByteWidth * static_cast<int>(date.size()) + 12,
                         kByteWidth * static_cast<int>(path.size()) + 12);
    for (int k = 0; k < count; ++k) {
        const int text = static_cast<int>((*entries)[static_cast<size_t>(k)].text.size());
        width = std::max(width, kByteWidth * text + 24);
    }
    const int height = kEntryPitch * count + 40;

    fillRect(s, {0, 0, width, height}, kFaceColour);
    rowLine(s, 1, 1, width - 2, kWhite);
    columnLine(s, 1, 1, height - 2, kWhite);
    rowLine(s, height - 2, 1, width - 2, kDarkShadow);
    columnLine(s, width - 2, 1, height - 2, kDarkShadow);
    rowLine(s, height - 1, 0, width - 1, kBlack);
    columnLine(s, width - 1, 0, height - 1, kBlack);

    st.glyphs.drawText(s, 6, 4, date, kBlack);
    st.glyphs.drawText(s, 6, 16, path, kBlack);
    etchedLine(s, 29, 6, width - 12);

    for (int k = 0; k < count; ++k)
        drawEntry(st, (*entries)[static_cast<size_t>(k)], k, width, false);
    st.thumbnailShown = false;
    highlightEntry(st, tree, cursor, width);
    return {width, height, count};
}

// Writes the whole screen (`panel` null), or the panel's rectangle and
// `extra`, each shown at once as the frame's present does (a panel display
// shows every write anyway). Runs between the display's begin and end.
void writePanel(const PanelCanvas& st, const MenuPanelHost& host, uint8_t* base,
                const PanelSize* panel, const ScreenRect& extra) {
    const ScreenSurface& s = st.screen;
    if (base == nullptr) return;
    if (panel == nullptr) {
        writeFrameBuffer(s, base, host.properties, {0, 0, s.width(), s.height()});
        return;
    }
    const ScreenRect rect = clipRect({0, 0, panel->width, panel->height}, s.width(), s.height());
    writeFrameBuffer(s, base, host.properties, rect);
    host.display->showRect(&rect);
    if (!extra.isEmpty()) {
        writeFrameBuffer(s, base, host.properties, extra);
        host.display->showRect(&extra);
    }
}

void showPanel(const PanelCanvas& st, const MenuPanelHost& host, const PanelSize* panel,
               const ScreenRect& extra) {
    if (host.display == nullptr) return;
    writePanel(st, host, host.display->beginDraw(), panel, extra);
    host.display->endDraw();
}

}  // namespace

struct MenuPanel::State {
    MenuPanelHost host;
    PanelCanvas canvas;   // the picture with the panel drawn into it
    ScreenSurface saved;  // the picture as captured
    PanelSize size;
};

MenuPanel::MenuPanel() : state_(std::make_unique<State>()) {}
MenuPanel::~MenuPanel() = default;

void MenuPanel::open(const MenuPanelHost& host, const MenuTree& tree, const MenuCursor& cursor) {
    State& st = *state_;
    PanelCanvas& canvas = st.canvas;
    st.host = host;
    canvas.glyphs.setRenderer(host.glyphs);
    canvas.thumbnailShown = false;
    if (!canvas.screen.create(host.screenWidth, host.screenHeight)) return;
    // One drawing bracket for the capture and the show, so the host
    // presents once.
    uint8_t* base = host.display != nullptr ? host.display->beginDraw() : nullptr;
    captureFrameBuffer(base, host.properties, canvas.screen);
    st.saved = canvas.screen;
    open_ = true;
    st.size = drawPanel(canvas, host, tree, cursor);
    width_ = st.size.width;
    height_ = st.size.height;
    writePanel(canvas, host, base, &st.size,
               canvas.thumbnailShown ? canvas.thumbnailArea : ScreenRect{});
    if (host.display != nullptr) host.display->endDraw();
}

void MenuPanel::levelChanged(const MenuTree& tree, const MenuCursor& cursor) {
    if (!open_) return;
    State& st = *state_;
    st.canvas.screen = st.saved;
    st.size = drawPanel(st.canvas, st.host, tree, cursor);
    width_ = st.size.width;
    height_ = st.size.height;
    showPanel(st.canvas, st.host, nullptr, {});
}

void MenuPanel::highlightChanged(const MenuTree& tree, const MenuCursor& cursor, int previous) {
    if (!open_) return;
    State& st = *state_;
    PanelCanvas& canvas = st.canvas;
    ScreenRect changed;
    if (canvas.thumbnailShown) changed = canvas.thumbnailArea;
    restoreThumbnail(canvas);
    if (previous != cursor.highlighted) {
        const MenuEntry* old = entryAtIndex(tree, cursor, previous);
        if (old != nullptr && old->kind != MenuEntryKind::Separator) {
            const int y = entryRow(previous);
            fillRect(canvas.screen, {11, y, width_ - 11, y + kEntryPitch}, kFaceColour);
            drawEntry(canvas, *old, previous, width_, false);
        }
    }
    highlightEntry(canvas, tree, cursor, width_);
    if (canvas.thumbnailShown) {
        const ScreenRect now = canvas.thumbnailArea;
        if (changed.isEmpty()) {
            changed = now;
        } else {
            changed = {std::min(changed.left, now.left), std::min(changed.top, now.top),
                       std::max(changed.right, now.right), std::max(changed.bottom, now.bottom)};
        }
    }
    showPanel(canvas, st.host, &st.size, changed);
}

void MenuPanel::close() {
    if (!open_) return;
    State& st = *state_;
    st.canvas.screen = st.saved;
    showPanel(st.canvas, st.host, nullptr, {});
    st.saved = ScreenSurface();
    st.canvas.screen = ScreenSurface();
    st.canvas.underThumbnail = ScreenSurface();
    st.canvas.thumbnailShown = false;
    open_ = false;
}

bool MenuPanel::contains(int x, int y) const {
    return open_ && x >= 0 && y >= 0 && x < width_ && y < height_;
}

int MenuPanel::entryAt(int x, int y) const {
    if (!contains(x, y) || y < kEntryTop) return -1;
    const int index = (y - kEntryTop) / kEntryPitch;
    return index < state_->size.entryCount ? index : -1;
}

}  // namespace zeku
