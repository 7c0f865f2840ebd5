// Seams between the portable core and the platform: message boxes for now.
// The Win32 layer installs real implementations at start; tests install
// recording fakes.
#pragma once
#include <string>

#include "core/base/Errors.h"

namespace mirobel {

// Style bits and answers with the values the platform uses, so that the
// Win32 layer can pass them through unchanged.
enum : unsigned {
    kBoxOk = 0x0,
    kBoxYesNo = 0x4,
    kBoxIconQuestion = 0x20,
    kBoxIconInformation = 0x40,
    kBoxDefaultButton2 = 0x100,
};
enum : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

struct MessageBoxes {
    virtual ~MessageBoxes() = default;
    // Shows a modal box and returns the answer. helpFile/helpContext travel
    // with the box; no Help button is ever shown.
    virtual int Show(const std::wstring& text, const std::wstring& title, unsigned style,
                     const std::wstring& helpFile, int helpContext) = 0;
};

struct Platform {
    MessageBoxes* boxes = nullptr;
};
extern Platform platform;

// While a modal box (ours or one the platform raises for us) is up, the
// message loop still dispatches timer ticks; the show must not re-enter
// itself from them. Every box is shown inside a ModalScope.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};
bool ModalBoxUp();

// A box; with no title of its own a box carries the application name.
int ShowBox(const std::wstring& text, const std::wstring& title = kAppName, unsigned style = kBoxOk);
// The standard error box: OK only, no icon, title "エラー", help attached.
void ShowErrorBox(const std::wstring& text, const RuntimeError& e);

}  // namespace mirobel
