// The stylus mapping. A portrait panel shows the game turned a quarter turn,
// so a device column is a game row and a device row counts game columns backwards.
#include "player/shell/pointer_map.h"

namespace zeku {

PointerMap makePointerMap(int screenWidth, const DeviceTraits& traits) {
    PointerMap map;
    map.vgaGame = screenWidth >= 640;
    map.vgaDevice = traits.vgaDevice;
    map.landscape = traits.landscapeFrameBuffer;
    return map;
}

GamePoint mapPointer(const PointerMap& map, int x, int y) {
    if (map.vgaGame) {
        if (!map.vgaDevice) {
            x *= 2;
            y *= 2;
        }
        if (map.landscape) return {x, y};
        return {639 - y, x};
    }
    if (map.landscape) return {x, y};
    return {319 - y, x};
}

}  // namespace zeku
