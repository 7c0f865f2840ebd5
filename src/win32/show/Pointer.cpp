#include "win32/show/Pointer.h"

namespace mirobel {

namespace {
// AND mask all ones, XOR mask all zeros: the screen shows through.
HCURSOR MakeTransparentCursor() {
    BYTE andMask[32 * 32 / 8], xorMask[32 * 32 / 8] = {};
    for (BYTE& b : andMask) b = 0xFF;
    return CreateCursor(GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
}
}  // namespace

ShowPointer::ShowPointer() : transparent_(MakeTransparentCursor()) {}

ShowPointer::~ShowPointer() {
    // A cursor still current cannot be destroyed; the default one takes its place first.
    if (GetCursor() == transparent_) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    if (transparent_) DestroyCursor(transparent_);
}

HCURSOR ShowPointer::Current() const { return isDefault_ ? LoadCursorW(nullptr, IDC_ARROW) : transparent_; }

void ShowPointer::Hide() {
    isDefault_ = false;
    SetCursor(transparent_);
}

void ShowPointer::GiveBack() {
    isDefault_ = true;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

InputPositions ReadPositions() {
    POINT caret{0, 0}, cursor{0, 0};
    // With no caret of our own the reading is simply repeatable.
    GetCaretPos(&caret);
    GetCursorPos(&cursor);
    return {static_cast<int16_t>(caret.x), static_cast<int16_t>(caret.y), static_cast<int16_t>(cursor.x),
            static_cast<int16_t>(cursor.y)};
}

}  // namespace mirobel
