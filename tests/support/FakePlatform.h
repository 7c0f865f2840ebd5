// One fake of every seam, installed as the platform bundle for the lifetime
// of a test, with every module's globals back at their process-start values.
#pragma once
#include "core/base/Globals.h"
#include "core/base/Platform.h"
#include "core/settings/Settings.h"
#include "core/show/Bgm.h"
#include "core/show/ShowState.h"
#include "support/Fakes.h"
#include "support/MusicFakes.h"
#include "support/ShowFakes.h"

namespace mirobel::testing {

struct FakePlatform {
    RecordingBoxes boxes;
    MemoryStore store;
    RecordingCanvas canvas;
    RecordingFrame frame;
    ScriptedRandom random;
    RecordingMusicPort music;

    FakePlatform() {
        ResetDisplayGlobals();
        ResetSettingsRecord();
        ResetShowGlobals();
        ResetMusicGlobals();
        g_platform = {&boxes, &store, &canvas, &frame, &random, &music};
    }
    ~FakePlatform() { g_platform = {}; }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;
};

}  // namespace mirobel::testing
