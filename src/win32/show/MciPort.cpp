// The music port on the Windows multimedia command strings.
#include "win32/show/MciPort.h"

#include "core/base/Platform.h"
#include "win32/base/Win32Util.h"

#include <mmsystem.h>

// Not declared by every SDK's headers, though winmm has always exported it.
extern "C" __declspec(dllimport) BOOL WINAPI mciExecute(LPCSTR command);

namespace mirobel {

namespace {
struct MciPort : MusicPort {
    uint32_t SendString(const std::string& command, char* reply, uint32_t replyLength) override {
        return mciSendStringA(command.c_str(), reply, replyLength, nullptr);
    }
    void Execute(const std::string& command) override {
        // A failure raises the platform's box from inside a timer tick; its
        // message loop goes on dispatching the show's timers, which must not
        // step the show or send more commands until the box is gone.
        ModalScope scope;
        mciExecute(command.c_str());
    }
    std::string Narrow(const std::wstring& text) override {
        if (text.empty()) return {};
        int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
        std::string out(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
        return out;
    }
};
MciPort mciPort;
}  // namespace

MusicPort& MciMusicPort() { return mciPort; }

}  // namespace mirobel
