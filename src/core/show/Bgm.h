// Background music of the show: a MIDI file beside the program, looped
// through the multimedia command strings on the device alias "bgm".
#pragma once
#include <cstdint>
#include <string>

namespace mirobel {

// The two ways a command string reaches the multimedia layer. Commands are
// narrow text, as the narrow entry points take them.
struct MusicPort {
    virtual ~MusicPort() = default;
    // Sends a command with no callback window and returns the error code,
    // 0 for success. A reply, if asked for, fills at most replyLength chars
    // of reply; reply may be null with replyLength 0.
    virtual uint32_t SendString(const std::string& command, char* reply, uint32_t replyLength) = 0;
    // Sends a command whose failure the platform reports in its own box.
    virtual void Execute(const std::string& command) = 0;
    // Text in the platform's narrow code page.
    virtual std::string Narrow(const std::wstring& text) = 0;
};
extern MusicPort* musicPort;

// True once the device has been opened and started; upkeep and stop act
// only while it holds.
extern bool BgmPlaying;

inline constexpr const wchar_t* kMusicFile = L"Mirobel.mid";
inline constexpr uint32_t kStatusLength = 80;

// Music: 0 start, 1 stop, 2 upkeep (restart when no longer playing).
void BgmControl(int16_t command);

// The Win32 port (mciSendStringA and mciExecute); Windows builds only.
void InstallMciPort();

}  // namespace mirobel
