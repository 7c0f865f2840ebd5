// One fake of every seam: the process-wide ones installed as the platform
// bundle for the lifetime of a test, and the show's own drawing seams for a
// test to hand to the show it runs.
#pragma once
#include "core/base/Platform.h"
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

    FakePlatform() { g_platform = {&boxes, &store, &random, &music}; }
    ~FakePlatform() { g_platform = {}; }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // The seams of a show drawn on the recording fakes at 96 dpi.
    ShowSeams Seams() { return {canvas, frame, random}; }
};

}  // namespace mirobel::testing
