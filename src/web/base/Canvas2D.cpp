#include "web/base/Canvas2D.h"

#include <emscripten.h>

namespace mirobel::web {

namespace {
// The bodies call into page.js, which owns the canvases and the decoded
// pictures; numbers cross the boundary, strings as the wide strings they are (UTF-32 here).
EM_JS(int, js_create, (int w, int h), { return MirobelCanvas.create(w, h); });
EM_JS(void, js_destroy, (int c), { MirobelCanvas.destroy(c); });
EM_JS(void, js_fill, (int c, int x, int y, int w, int h, int rgb), { MirobelCanvas.fill(c, x, y, w, h, rgb); });
EM_JS(void, js_clip, (int c, int x, int y, int w, int h), { MirobelCanvas.clip(c, x, y, w, h); });
EM_JS(void, js_unclip, (int c), { MirobelCanvas.unclip(c); });
EM_JS(void, js_text, (int c, int face, int bold, int px, int rgb, int x, int y, const wchar_t* text, int* box), {
    const ink = MirobelCanvas.text(c, face, bold, px, rgb, x, y, UTF32ToString(text));
    for (let i = 0; i < 4; ++i) HEAP32[(box >> 2) + i] = ink[i];
});
EM_JS(int, js_width, (int face, int px, const wchar_t* text), { return MirobelCanvas.width(face, px, UTF32ToString(text)); });
EM_JS(void, js_copy, (int from, int fx, int fy, int to, int x, int y, int w, int h),
      { MirobelCanvas.copy(from, fx, fy, to, x, y, w, h); });
EM_JS(void, js_request_portrait, (int poem), { MirobelCanvas.requestPortrait(poem); });
EM_JS(int, js_portrait, (int c, int poem, int x, int y, int w, int h),
      { return MirobelCanvas.portrait(c, poem, x, y, w, h) ? 1 : 0; });
EM_JS(void, js_keep_portrait, (int poem), { MirobelCanvas.keepPortrait(poem); });

int Packed(Rgb c) { return (c.r << 16) | (c.g << 8) | c.b; }
}  // namespace

int CreateCanvas(int width, int height) { return js_create(width, height); }
void DestroyCanvas(int canvas) { js_destroy(canvas); }

void FillBox(int canvas, const Rect& r, Rgb colour) {
    js_fill(canvas, r.left, r.top, r.right - r.left, r.bottom - r.top, Packed(colour));
}

void ClipTo(int canvas, const Rect& r) { js_clip(canvas, r.left, r.top, r.right - r.left, r.bottom - r.top); }
void Unclip(int canvas) { js_unclip(canvas); }

Rect DrawText(int canvas, Face face, bool bold, int pixels, Rgb colour, int x, int y, const std::wstring& text) {
    int box[4] = {};
    js_text(canvas, static_cast<int>(face), bold, pixels, Packed(colour), x, y, text.c_str(), box);
    return {box[0], box[1], box[2], box[3]};
}

int TextWidth(Face face, int pixels, const std::wstring& text) {
    return js_width(static_cast<int>(face), pixels, text.c_str());
}

void CopyCanvas(int from, int fromX, int fromY, int to, const Rect& box) {
    js_copy(from, fromX, fromY, to, box.left, box.top, box.right - box.left, box.bottom - box.top);
}

void RequestPortrait(int poemNo) { js_request_portrait(poemNo); }

bool DrawPortrait(int canvas, int poemNo, const Rect& r) {
    return js_portrait(canvas, poemNo, r.left, r.top, r.right - r.left, r.bottom - r.top) != 0;
}

void KeepOnlyPortrait(int poemNo) { js_keep_portrait(poemNo); }

}  // namespace mirobel::web
