// Seams that take a show's units and hand pixels on to the surfaces below
// them, magnified by dpi / 96 with the one rounding rule of the windows
// (each edge magnified, so the card, its panel and the strips stay flush).
// Widths measured by the surface come back as units, rounded up so that a
// strip cleared in units covers every pixel of the text. The owner of a show
// puts them in front of its own canvas and frame, at its show's showDpi.
#pragma once
#include "core/base/Seams.h"
#include "core/show/ShowState.h"

namespace mirobel {

// The screen (widthPixels x heightPixels) in whole units of a show drawn at
// its showDpi.
void SetShowScreen(ShowState& show, int widthPixels, int heightPixels);

class MagnifiedCanvas : public CardCanvas {
public:
    MagnifiedCanvas(CardCanvas& device, int dpi) : device_(device), dpi_(dpi) {}
    void FillRect(const Rect& r, Rgb colour) override;
    void OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) override;
    void SetFont(const std::wstring& face, int size, bool bold) override;
    void SetFontSize(int size) override;
    void DrawText(int x, int y, const std::wstring& text, Rgb ink) override;

private:
    CardCanvas& device_;
    int dpi_;
};

class MagnifiedFrame : public FrameTarget {
public:
    MagnifiedFrame(FrameTarget& device, int dpi) : device_(device), dpi_(dpi) {}
    int TickerWidth(const std::wstring& text) override;
    void Present(const Scene& scene, const std::vector<Rect>& areas) override;

private:
    FrameTarget& device_;
    int dpi_;
};

}  // namespace mirobel
