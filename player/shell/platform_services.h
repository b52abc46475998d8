// The host services one player run is given: its window, display, clock and
// message boxes, chosen by the program (a desktop window or headless).
#pragma once

#include "platform/api/audio_device.h"
#include "platform/api/clock.h"
#include "platform/api/device_status.h"
#include "platform/api/display_back_end.h"
#include "platform/api/font_catalog.h"
#include "platform/api/glyph_renderer.h"
#include "platform/api/host_window.h"
#include "platform/api/message_box.h"
#include "platform/api/notices.h"
#include "platform/api/single_instance.h"

namespace zeku {

struct PlatformServices {
    HostWindow& window;
    DisplayBackEnd& display;
    Clock& clock;
    MessageBoxes& messageBoxes;
    InstanceLock* instance = nullptr;  // null when single-instance is not in force
    FontCatalog* fonts = nullptr;      // null: no installed fonts are offered
    Notices* notices = nullptr;        // null: problems are only shown in the title
    GlyphRenderer* glyphs = nullptr;   // null: text is drawn blank
    AudioDevice* audio = nullptr;      // null: the run is silent
    DeviceStatus* device = nullptr;    // null: the status line and save dates read zero
};

// Called by the frame loop, for tools and tests that watch a run.
class FrameObserver {
  public:
    virtual ~FrameObserver() = default;
    // Before the first frame step.
    virtual void started() {}
    // After frame `frame` (counted from 1) has been presented, or its tick
    // has passed with the menu open and the game standing still.
    virtual void frameDone(int frame) = 0;
};

}  // namespace zeku
