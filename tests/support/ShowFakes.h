// Recording fakes of the show's drawing seams.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/base/Rects.h"
#include "core/show/ShowState.h"

namespace mirobel::testing {

struct DrawnText {
    int x, y;
    std::wstring text;
    int size;
    std::wstring face;
    Rgb ink = kBlack;
    bool operator==(const DrawnText&) const = default;
};

struct Outline {
    Rect rect;
    int lineWidth;
};

struct RecordingCanvas : CardCanvas {
    std::vector<DrawnText> texts;
    std::vector<Rect> fills;
    std::vector<Outline> outlines;
    std::wstring face;
    int size = 0;
    bool bold = false;
    std::function<void()> failure;  // raised by every fill
    void FillRect(const Rect& r, Rgb) override {
        if (failure) failure();
        fills.push_back(r);
    }
    void OutlineRect(const Rect& r, int lineWidth, Rgb, Rgb) override { outlines.push_back({r, lineWidth}); }
    void SetFont(const std::wstring& f, int s, bool b) override { face = f, size = s, bold = b; }
    void SetFontSize(int s) override { size = s; }
    void DrawText(int x, int y, const std::wstring& t, Rgb ink) override {
        texts.push_back({x, y, t, size, face, ink});
    }
};

// What a frame showed, one event per item, then one per presented area.
struct FrameEvent {
    enum Kind { Card, Portrait, Ticker, Present } kind;
    Rect rect;  // ticker: its top-left as an empty rectangle
    std::wstring text;
    int poem = 0;
    bool operator==(const FrameEvent&) const = default;
};

struct RecordingFrame : FrameTarget {
    std::vector<FrameEvent> events;
    std::vector<Scene> scenes;
    void Present(const Scene& scene, const std::vector<Rect>& areas) override {
        scenes.push_back(scene);
        if (!Empty(scene.card)) events.push_back({FrameEvent::Card, scene.card, L"", 0});
        if (!Empty(scene.portrait)) events.push_back({FrameEvent::Portrait, scene.portrait, L"", scene.portraitPoem});
        if (!Empty(scene.tickerLine))
            events.push_back({FrameEvent::Ticker, {scene.tickerX, scene.tickerY, scene.tickerX, scene.tickerY},
                              scene.tickerText, 0});
        for (const Rect& r : areas) events.push_back({FrameEvent::Present, r, L"", 0});
    }
    // Each character as wide as its font's height in pixels (16 at 96 dpi),
    // unless a test gives its text another width.
    int dpi = 96;
    int charWidth = 16;  // at 96 dpi
    int TickerWidth(const std::wstring& t) override { return (charWidth * dpi / 96) * static_cast<int>(t.size()); }
    bool Has(FrameEvent::Kind k) const {
        for (const auto& e : events)
            if (e.kind == k) return true;
        return false;
    }
};

// Plays back the given numbers, then repeats the last.
struct ScriptedRandom : RandomSource {
    std::vector<double> values;
    size_t next = 0;
    int reseeds = 0;
    void Reseed() override { ++reseeds; }
    double Next() override {
        double v = values.empty() ? 0.0 : values[std::min(next, values.size() - 1)];
        ++next;
        return v;
    }
};

}  // namespace mirobel::testing
