#include "core/base/Platform.h"

namespace mirobel {

Platform platform;

namespace {
int modalDepth = 0;
}

ModalScope::ModalScope() { ++modalDepth; }
ModalScope::~ModalScope() { --modalDepth; }
bool ModalBoxUp() { return modalDepth > 0; }

int ShowBox(const std::wstring& text, const std::wstring& title, unsigned style) {
    if (!platform.boxes) return kAnswerOk;
    ModalScope scope;
    return platform.boxes->Show(text, title, style, L"", 0);
}

void ShowErrorBox(const std::wstring& text, const RuntimeError& e) {
    if (!platform.boxes) return;
    ModalScope scope;
    platform.boxes->Show(text, kErrorTitle, kBoxOk, e.helpFile, e.helpContext);
}

}  // namespace mirobel
