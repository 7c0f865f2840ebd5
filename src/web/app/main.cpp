// The page's entry points, called from page.js: start a show with the
// address's query, step it on the page's timers, follow the window's size.
#include <emscripten.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/base/Scaling.h"
#include "web/app/Pace.h"
#include "web/app/Query.h"
#include "web/show/CanvasShowSession.h"

using namespace mirobel;
using namespace mirobel::web;

namespace {
struct Page {
    Options options;
    int dpi = 96;
    std::unique_ptr<CanvasShowSession> show;
    std::unique_ptr<FramePace> pace;
    // The record of a test run, written as the frames are drawn.
    char* recordText = nullptr;
    size_t recordSize = 0;
    std::FILE* record = nullptr;
    long frame = 0;
    std::string described;
};
Page page;

void DropRecord() {
    if (page.record) std::fclose(page.record), page.record = nullptr;
    std::free(page.recordText);
    page.recordText = nullptr, page.recordSize = 0;
}
}  // namespace

extern "C" {

// Starts (or starts again) the show on a canvas of width x height device
// pixels; `ratio` is the device's pixels per CSS pixel, `language` the
// browser's.
EMSCRIPTEN_KEEPALIVE void mirobel_start(const char* query, const char* language, int width, int height, double ratio,
                                        double now) {
    DropRecord();
    page.show.reset();
    page.options = ParseQuery(query ? query : "", language ? language : "");
    // The device's ratio is the show's scale, as the desktop's scaling is
    // on the other platforms; the query's scale magnifies on top of it.
    const double scale = (ratio > 0 && std::isfinite(ratio) ? ratio : 1.0) * page.options.scale.value_or(100) / 100.0;
    page.dpi = static_cast<int>(std::lround(96 * scale));
    page.show = std::make_unique<CanvasShowSession>(page.options.settings, page.options.seed, page.dpi);
    page.show->Start(width, height);
    page.frame = 0;
    page.pace = std::make_unique<FramePace>(page.show->FrameInterval(), now);
    if (page.options.recordFrames > 0) {
        page.record = open_memstream(&page.recordText, &page.recordSize);
        page.show->Record(page.record, 0);
    }
}

// Takes the step that is due, if any; returns the milliseconds until the
// next, or -1 once a recorded run has ended.
EMSCRIPTEN_KEEPALIVE double mirobel_tick(double now) {
    if (!page.show) return -1;
    if (page.record) {
        // A recorded run is compared frame by frame, not in time: a batch of
        // frames without waits, then the page's other work gets a turn.
        for (int i = 0; i < 50 && page.frame + 1 < page.options.recordFrames; ++i) {
            page.show->NextFrame();
            page.show->Record(page.record, ++page.frame);
        }
        if (page.frame + 1 < page.options.recordFrames) return 0;
        std::fflush(page.record);
        return -1;
    }
    if (page.pace->Take(now)) page.show->NextFrame(), ++page.frame;
    return page.pace->Wait(now);
}

EMSCRIPTEN_KEEPALIVE void mirobel_resize(int width, int height) {
    if (page.show) page.show->Resize(width, height);
}

EMSCRIPTEN_KEEPALIVE int mirobel_saver() { return page.options.saver ? 1 : 0; }

// What the page's show runs with, for the page's tests.
EMSCRIPTEN_KEEPALIVE const char* mirobel_describe() {
    const Settings& s = page.options.settings;
    const ShowState* state = page.show ? &page.show->State() : nullptr;
    char text[400];
    std::snprintf(text, sizeof text,
                  "{\"speed\":%d,\"order\":%d,\"first\":%d,\"last\":%d,\"seed\":%s,\"scale\":%d,\"kimariji\":%s,"
                  "\"saver\":%s,\"lang\":\"%ls\",\"dpi\":%d,\"interval\":%d,\"poem\":%d,\"cardX\":%d,"
                  "\"cardY\":%d,\"frame\":%ld}",
                  s.Speed, s.SelectType, s.SelectFirst, s.SelectEnd,
                  page.options.seed ? std::to_string(*page.options.seed).c_str() : "null", page.options.scale.value_or(100),
                  s.Kimariji ? "true" : "false", page.options.saver ? "true" : "false", LanguageCode(s.language),
                  page.dpi, page.show ? page.show->FrameInterval() : 0,
                  state ? state->PoemNo : 0, state ? state->CardX : 0, state ? state->CardY : 0, page.frame);
    page.described = text;
    return page.described.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* mirobel_record() {
    if (page.record) std::fflush(page.record);
    return page.recordText ? page.recordText : "";
}

EMSCRIPTEN_KEEPALIVE void mirobel_repaint(int width, int height) {
    if (page.show) page.show->Repaint({0, 0, width, height});
}

}  // extern "C"
