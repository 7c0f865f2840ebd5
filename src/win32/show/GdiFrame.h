// The show's frame target on GDI: what each frame draws is recorded and
// presented to the window it was made for (or a surface of the caller's),
// as copies where the frame allows and composed piece by piece elsewhere.
#pragma once
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "win32/show/GdiCanvas.h"
#include "win32/show/Portraits.h"
#include "core/base/Rects.h"
#include "core/show/FramePlan.h"
#include "win32/show/frmDisp.h"

namespace mirobel {

// The changed-rectangle presentation keeps no picture of the screen. Every
// rectangle it presents was cleared in the same frame, so its pixels are
// black plus what this frame drew there: the card, the portrait and the
// ticker. They are recorded as the frame is painted and drawn again, in
// order, into a scratch surface the size of one piece of the rectangle.
// Memory then stays the same whatever the size of the screen.
struct FrameOp {
    enum Kind { Card, Portrait, Ticker } kind;
    Rect place;  // card and portrait: where they go; ticker: its top-left
    int poemNo;
    std::wstring text;
};

// Pieces are at most this big in the show's units: a card's change
// (402 x 262) fits in one, a wide ticker strip or a whole first frame takes
// several.
inline constexpr int kPieceWidth = 1024, kPieceHeight = 272;
// Glyphs of the ticker may reach beyond their advance and cell; pieces that
// nothing touches within these margins are filled black directly.
inline constexpr int kTickerMargin = 16, kTickerReach = 64;

inline void FillBlack(HDC dc, const RECT& r) { ::FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); }

struct GdiFrame : FrameTarget {
    GdiFrame(FontCache& cache, const GdiCanvas& card, HWND target, int dpi, int tickerPoints,
             Presentation presentation)
        : fontCache(cache),
          canvas(card),
          window(target),
          showDpi(dpi),
          tickerFontSize(tickerPoints),
          whole(presentation == Presentation::WholeScreen) {}
    FontCache& fontCache;
    const GdiCanvas& canvas;
    const HWND window;  // where frames go (none: only into `screen`)
    const int showDpi;
    const int tickerFontSize;
    const bool whole;            // the reference presentation: whole frames through scr_work
    Surface* screen = nullptr;   // frames go here instead of the window
    std::vector<FrameOp> ops;    // the frame being painted
    std::vector<FrameOp> shown;  // the last frame presented, for repaints
    bool painting = false;       // ops belong to the frame being painted
    int tickerWidth = 0;
    std::wstring measuredText;
    Surface scratch;
    HeldFont scratchFont, workFont;

    void Record(FrameOp op) {
        if (!painting) {
            ops.clear();
            painting = true;
        }
        ops.push_back(std::move(op));
    }
    void Clear(const Rect& r) override {
        if (whole) {
            BitBlt(scr_work.dc, r.left, r.top, r.right - r.left, r.bottom - r.top, scr_bkg.dc, r.left, r.top,
                   SRCCOPY);
            return;
        }
        // Clearing starts a frame; the cleared area is black unless drawn on.
        if (!painting) {
            ops.clear();
            painting = true;
        }
    }
    void CopyCard(const Rect& r) override {
        lastCard = r;
        if (whole) return DrawCard(scr_work.dc, r);
        Record({FrameOp::Card, r, 0, {}});
    }
    void StretchPortrait(const Rect& r, int poemNo) override {
        if (whole) return DrawPortrait(scr_work.dc, r, poemNo);
        Record({FrameOp::Portrait, r, poemNo, {}});
    }
    void DrawTicker(int x, int y, const std::wstring& text) override {
        if (whole) return DrawTickerText(scr_work.dc, x, y, text, lastCard);
        if (text != measuredText) {
            tickerWidth = TickerWidth(text);
            measuredText = text;
        }
        Record({FrameOp::Ticker, {x, y, x, y}, 0, text});
    }
    int TickerWidth(const std::wstring& text) override {
        HDC dc = MeasuringDc();
        scratchFont.Use(dc, fontCache.Get(kMinchoFace, tickerFontSize, false));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return extent.cx;
    }
    void Present(const Rect& r) override {
        std::optional<WindowDc> windowDc;
        if (!whole) {
            painting = false;
            shown = ops;
        }
        HDC target = nullptr;
        if (screen) {
            target = screen->dc;
        } else if (window && IsWindow(window)) {
            windowDc.emplace(window);
            target = windowDc->get();
        } else {
            return;
        }
        const RECT area{r.left, r.top, r.right, r.bottom};
        if (whole)
            BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, scr_work.dc, r.left, r.top, SRCCOPY);
        else
            PresentFrame(target, area, shown);
    }

    // Puts the area of a frame onto dc: as plain copies of the card (kept
    // with its portrait) and of the ticker's strip with black around them,
    // each pixel written once, when the ticker lies apart from the card;
    // else composed piece by piece.
    void PresentFrame(HDC dc, const RECT& area, const std::vector<FrameOp>& frame) {
        if (!PresentByCopies(dc, {area.left, area.top, area.right, area.bottom}, frame)) Compose(dc, area, frame);
    }

    bool PresentByCopies(HDC dc, const Rect& area, const std::vector<FrameOp>& frame) {
        const FrameOp *card = nullptr, *portrait = nullptr, *ticker = nullptr;
        for (const FrameOp& op : frame) {
            const FrameOp*& slot = op.kind == FrameOp::Card ? card : op.kind == FrameOp::Portrait ? portrait : ticker;
            if (slot) return false;
            slot = &op;
        }
        if (portrait && (!card || !Inside(portrait->place, card->place))) return false;
        Rect line{0, 0, 0, 0};
        const Surface* strip = nullptr;
        if (ticker) {
            strip = &TickerStrip(ticker->text);
            const int x = ticker->place.left, y = ticker->place.top;
            line = {x, y, x + strip->width, y + strip->height};
        }
        const auto plan = PlanCopies(area, card ? card->place : Rect{0, 0, 0, 0}, line);
        if (!plan) return false;
        const Rect &c = plan->card, &t = plan->ticker;
        for (const Rect& piece : plan->black) FillBlack(dc, RECT{piece.left, piece.top, piece.right, piece.bottom});
        if (!Empty(c)) {
            const Surface& kept = KeptCard(*card, portrait);
            BitBlt(dc, c.left, c.top, c.right - c.left, c.bottom - c.top, kept.dc, c.left - card->place.left,
                   c.top - card->place.top, SRCCOPY);
        }
        if (!Empty(t))
            BitBlt(dc, t.left, t.top, t.right - t.left, t.bottom - t.top, strip->dc, t.left - ticker->place.left,
                   t.top - ticker->place.top, SRCCOPY);
        return true;
    }

    // The card with its portrait over it, brought up to date when the
    // canvas has changed or another portrait (or none) is shown.
    const Surface& KeptCard(const FrameOp& card, const FrameOp* portrait) {
        const int w = card.place.right - card.place.left, h = card.place.bottom - card.place.top;
        const int poem = portrait ? portrait->poemNo : 0;
        const Rect box = portrait ? Rect{portrait->place.left - card.place.left, portrait->place.top - card.place.top,
                                         portrait->place.right - card.place.left,
                                         portrait->place.bottom - card.place.top}
                                  : Rect{0, 0, 0, 0};
        if (keptCard.dc && keptCard.width == w && keptCard.height == h && keptChanges == canvas.changes &&
            keptPoem == poem && keptBox == box)
            return keptCard;
        if (keptCard.width != w || keptCard.height != h) keptCard.Resize(w, h, RGB(0, 0, 0));
        DrawCard(keptCard.dc, {0, 0, w, h});
        if (portrait) DrawPortrait(keptCard.dc, box, poem);
        keptChanges = canvas.changes, keptPoem = poem, keptBox = box;
        return keptCard;
    }

    // Puts the area of a frame made of `frame` on black onto dc, piece by piece.
    void Compose(HDC dc, const RECT& area, const std::vector<FrameOp>& frame) {
        const int pieceWidth = Magnify(kPieceWidth, showDpi), pieceHeight = Magnify(kPieceHeight, showDpi);
        Rect card{0, 0, 0, 0};
        for (const FrameOp& op : frame)
            if (op.kind == FrameOp::Card) card = op.place;
        for (int top = area.top; top < area.bottom; top += pieceHeight) {
            for (int left = area.left; left < area.right; left += pieceWidth) {
                const RECT piece{left, top, std::min<int>(left + pieceWidth, area.right),
                                 std::min<int>(top + pieceHeight, area.bottom)};
                bool touched = false;
                for (const FrameOp& op : frame) touched = touched || Touches(op, piece);
                if (!touched) {
                    FillBlack(dc, piece);
                    continue;
                }
                const int w = piece.right - piece.left, h = piece.bottom - piece.top;
                if (scratch.width < w || scratch.height < h)
                    scratch.Resize(std::max(scratch.width, w), std::max(scratch.height, h), RGB(0, 0, 0));
                FillBlack(scratch.dc, RECT{0, 0, w, h});
                const auto shifted = [&](const Rect& r) {
                    return Rect{r.left - piece.left, r.top - piece.top, r.right - piece.left, r.bottom - piece.top};
                };
                for (const FrameOp& op : frame) {
                    switch (op.kind) {
                        case FrameOp::Card: DrawCard(scratch.dc, shifted(op.place)); break;
                        case FrameOp::Portrait: DrawPortrait(scratch.dc, shifted(op.place), op.poemNo); break;
                        case FrameOp::Ticker:
                            DrawTickerText(scratch.dc, op.place.left - piece.left, op.place.top - piece.top, op.text,
                                           shifted(card));
                            break;
                    }
                }
                BitBlt(dc, piece.left, piece.top, w, h, scratch.dc, 0, 0, SRCCOPY);
            }
        }
    }

    bool Touches(const FrameOp& op, const RECT& piece) const {
        RECT bounds{};
        switch (op.kind) {
            case FrameOp::Card:
            case FrameOp::Portrait: bounds = {op.place.left, op.place.top, op.place.right, op.place.bottom}; break;
            case FrameOp::Ticker: {
                const int margin = Magnify(kTickerMargin, showDpi), reach = Magnify(kTickerReach, showDpi);
                bounds = {op.place.left - margin, op.place.top - margin, op.place.left + tickerWidth + margin,
                          op.place.top + reach};
                break;
            }
        }
        RECT common;
        return IntersectRect(&common, &bounds, &piece) != 0;
    }

    HDC MeasuringDc() {
        if (!scratch.dc) scratch.Resize(1, 1, RGB(0, 0, 0));
        return scratch.dc;
    }

    void DrawCard(HDC dc, const Rect& r) const {
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas.card.dc, 0, 0, SRCCOPY);
    }
    void DrawPortrait(HDC dc, const Rect& r, int poemNo) {
        Surface* picture = SizedPortrait(poemNo, r.right - r.left, r.bottom - r.top);
        if (!picture) return;
        BitBlt(dc, r.left, r.top, picture->width, picture->height, picture->dc, 0, 0, SRCCOPY);
    }
    // The portrait at the box's size, made once per card: the pictures are
    // larger than the box below 200 %, and averaging them down keeps their
    // fine lines, which costs too much to do on every frame.
    Surface* SizedPortrait(int poemNo, int width, int height) {
        if (sizedPoem == poemNo && sized.width == width && sized.height == height) return &sized;
        Surface* picture = portrait.Of(poemNo);
        if (!picture) return nullptr;
        sized.Resize(width, height, RGB(255, 255, 255));
        SetStretchBltMode(sized.dc, HALFTONE);
        SetBrushOrgEx(sized.dc, 0, 0, nullptr);
        StretchBlt(sized.dc, 0, 0, width, height, picture->dc, 0, 0, picture->width, picture->height, SRCCOPY);
        sizedPoem = poemNo;
        return &sized;
    }
    // Over the black background the rendering is copied from a strip drawn
    // once per card: drawing the whole line of text again on every frame
    // costs more than anything else in a frame, the more so at a large
    // scale. Where the card lies under it, the text is drawn over the card.
    void DrawTickerText(HDC dc, int x, int y, const std::wstring& text, const Rect& card) {
        const Surface& strip = TickerStrip(text);
        if (!Overlap({x, y, x + strip.width, y + strip.height}, card)) {
            BitBlt(dc, x, y, strip.width, strip.height, strip.dc, 0, 0, SRCCOPY);
            return;
        }
        HeldFont& held = dc == scratch.dc ? scratchFont : workFont;
        held.Use(dc, fontCache.Get(kMinchoFace, tickerFontSize, false));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    }
    const Surface& TickerStrip(const std::wstring& text) {
        const int size = tickerFontSize;
        if (stripText == text && stripSize == size && tickerStrip.dc) return tickerStrip;
        HFONT font = fontCache.Get(kMinchoFace, size, false);
        HDC dc = MeasuringDc();
        scratchFont.Use(dc, font);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        // Room for glyphs that reach beyond their advance or cell.
        const int slack = metrics.tmMaxCharWidth / 2 + 2;
        stripFont.Drop();
        tickerStrip.Resize(extent.cx + slack, std::max<int>(extent.cy, metrics.tmHeight) + slack, RGB(0, 0, 0));
        stripFont.Use(tickerStrip.dc, font);
        SetBkMode(tickerStrip.dc, TRANSPARENT);
        SetTextColor(tickerStrip.dc, RGB(255, 255, 255));
        TextOutW(tickerStrip.dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
        stripText = text, stripSize = size;
        return tickerStrip;
    }

    Surface sized;
    int sizedPoem = 0;
    Surface tickerStrip;
    HeldFont stripFont;
    std::wstring stripText;
    int stripSize = 0;
    Rect lastCard{0, 0, 0, 0};
    ShownPortrait portrait;
    Surface keptCard;
    unsigned long keptChanges = 0;
    int keptPoem = 0;
    Rect keptBox{0, 0, 0, 0};

    void Reset() {
        ops.clear();
        shown.clear();
        painting = false;
        measuredText.clear();
        scratchFont.Drop();
        workFont.Drop();
        stripFont.Drop();
        scratch.Release();
        sized.Release();
        sizedPoem = 0;
        tickerStrip.Release();
        stripText.clear();
        lastCard = {0, 0, 0, 0};
        portrait.picture.Release();
        portrait.poemNo = 0;
        keptCard.Release();
        keptPoem = 0;
    }
};

}  // namespace mirobel
