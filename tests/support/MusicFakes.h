// A recording fake of the music port.
#pragma once
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/base/Seams.h"

namespace mirobel::testing {

// Records every command in order, as "send <command>" (with "/<length>" when
// a reply buffer is passed) or "exec <command>", and answers SendString from
// a table of codes and replies by command text (0 and no reply otherwise).
struct RecordingMusicPort : MusicPort {
    std::vector<std::string> sent;
    std::map<std::string, uint32_t> codes;
    std::map<std::string, std::string> replies;
    std::vector<std::string> buffersSeen;  // reply buffer contents on entry

    uint32_t SendString(const std::string& command, char* reply, uint32_t length) override {
        std::string entry = "send " + command;
        if (reply) {
            entry += '/';
            entry += std::to_string(length);
        }
        sent.push_back(entry);
        if (reply) buffersSeen.emplace_back(reply, length);
        auto r = replies.find(command);
        if (reply && r != replies.end()) {
            // Like the platform: the reply and its terminator, cut to fit.
            size_t n = std::min<size_t>(r->second.size() + 1, length);
            std::memcpy(reply, r->second.c_str(), n);
        }
        auto c = codes.find(command);
        return c == codes.end() ? 0 : c->second;
    }
    void Execute(const std::string& command) override { sent.push_back("exec " + command); }
    std::string Narrow(const std::wstring& text) override {
        std::string out;
        for (wchar_t ch : text) out += ch < 0x80 ? static_cast<char>(ch) : '?';
        return out;
    }
};

}  // namespace mirobel::testing
