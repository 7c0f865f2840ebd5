// The show's drawing on the page's canvases: the card canvas, the portraits
// and the painter behind the core's compositor. As on the other platforms,
// the card and the ticker's line are kept as off-screen pictures and copied
// to the screen; what cannot be copied is composed a tile at a time.
#pragma once
#include <string>
#include <utility>

#include "core/show/Compositor.h"
#include "core/show/Card.h"
#include "core/show/ShowState.h"
#include "web/base/Canvas2D.h"

namespace mirobel::web {

// The face the show asks for by its system name, as one of the embedded
// stand-ins: the brush face for the poem, the Mincho face for the rest.
Face FaceFor(const std::wstring& face);

class WebCanvas : public CardCanvas {
public:
    explicit WebCanvas(int dpi);
    ~WebCanvas() override;
    WebCanvas(const WebCanvas&) = delete;
    WebCanvas& operator=(const WebCanvas&) = delete;

    void FillRect(const Rect& r, Rgb colour) override;
    void OutlineRect(const Rect& r, int lineWidth, Rgb outline, Rgb fill) override;
    void SetFont(const std::wstring& face, int size, bool bold) override;
    void SetFontSize(int size) override;
    void DrawText(int x, int y, const std::wstring& text, Rgb ink) override;

    int Id() const { return id_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The part of the canvas drawn on since the last call.
    Rect TakeChanged() { return std::exchange(changed_, Rect{}); }

private:
    int dpi_;
    int width_, height_;
    int id_;
    Face face_ = Face::Mincho;
    int size_ = 10;
    bool bold_ = false;
    Rect changed_{};
};

// The show's painter on the screen canvas.
class CanvasFrame : public ScenePainter {
public:
    CanvasFrame(WebCanvas& card, int dpi, TickerFont ticker);
    ~CanvasFrame() override;
    CanvasFrame(const CanvasFrame&) = delete;
    CanvasFrame& operator=(const CanvasFrame&) = delete;

    // Asks the browser for the portrait of the card that has come, so that
    // it is decoded by the time the poem is written. keptPoem: the portrait
    // the kept card still shows (0: none).
    void CardCame(int poemNo, int keptPoem);

    int TickerWidth(const std::wstring& text) override;
    int TileWidth() const override { return tile_; }
    int TileHeight() const override { return tile_; }
    void FillBlack(const Rect& r) override { FillBox(kScreenCanvas, r, kBlack); }
    void ComposeTile(const Scene& scene, const Rect& tile) override;
    Rect CanvasBounds() const override { return {0, 0, card_.Width(), card_.Height()}; }
    Rect TakeCanvasChanged() override { return card_.TakeChanged(); }
    bool MakeKept(Kept which, int width, int height) override;
    bool DrawKeptCard(const Rect& part, int poem, const Rect& box) override;
    void DrawKeptLine(const std::wstring& text, int x, int y) override;
    void CopyKept(Kept which, int fromX, int fromY, const Rect& to) override;

private:
    void DrawTicker(int canvas, const std::wstring& text, int x, int y);

    WebCanvas& card_;
    Face tickerFace_;
    int tickerPixels_;
    int tile_;
    // The pictures the compositor presents from (-1: none yet).
    int keptCard_ = -1;
    int keptLine_ = -1;
    Rect keptLineSize_{};
};

}  // namespace mirobel::web
