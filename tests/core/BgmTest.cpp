#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/base/Globals.h"
#include "core/show/Bgm.h"
#include "support/FakePlatform.h"

using namespace mirobel;
using namespace mirobel::testing;

namespace {
using Sequence = std::vector<std::string>;

class BgmTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The device is the process's: every test starts with it closed.
        BgmPlaying = false;
        AppFolder = L"C:\\Saver\\";
    }
    void TearDown() override {
        BgmPlaying = false;
        AppFolder.clear();
    }
    void Bgm(int16_t command) { BgmControl(command, settings); }

    // Starts the music successfully and forgets what that sent.
    void Playing() {
        Bgm(0);
        ASSERT_TRUE(BgmPlaying);
        port.sent.clear();
    }
    Sequence UpkeepWithStatus(const std::string& reply) {
        port.replies["status bgm mode"] = reply;
        port.sent.clear();
        Bgm(2);
        return port.sent;
    }

    Settings settings{.MusicMode = 1};
    FakePlatform fake;
    RecordingMusicPort& port = fake.music;
    const std::string kOpen = "send open \"C:\\Saver\\Mirobel.mid\" alias bgm";
    const std::string kStatus = "send status bgm mode/80";
};
}  // namespace

TEST_F(BgmTest, MusicModeOtherThanOneNeverSendsAnything) {
    for (int16_t mode : {0, 2, -1, 3}) {
        settings.MusicMode = mode;
        BgmPlaying = false;
        Bgm(0);
        Bgm(2);
        Bgm(2);
        Bgm(1);
        EXPECT_TRUE(port.sent.empty()) << "mode " << mode;
        EXPECT_FALSE(BgmPlaying);
    }
}

TEST_F(BgmTest, StartOpensThenPlays) {
    Bgm(0);
    EXPECT_EQ(port.sent, (Sequence{kOpen, "send play bgm notify"}));
    EXPECT_TRUE(BgmPlaying);
}

TEST_F(BgmTest, FolderWithBlanksIsQuotedInTheOpenCommand) {
    AppFolder = L"C:\\Program Files\\My Saver\\";
    Bgm(0);
    ASSERT_FALSE(port.sent.empty());
    EXPECT_EQ(port.sent[0], "send open \"C:\\Program Files\\My Saver\\Mirobel.mid\" alias bgm");
}

TEST_F(BgmTest, FailedOpenIsSilentAndLeavesTheMusicOff) {
    port.codes["open \"C:\\Saver\\Mirobel.mid\" alias bgm"] = 275;  // file not found
    Bgm(0);
    EXPECT_EQ(port.sent, (Sequence{kOpen}));
    EXPECT_FALSE(BgmPlaying);
    // Upkeep and stop find nothing to do for the rest of the show.
    Bgm(2);
    Bgm(1);
    EXPECT_EQ(port.sent, (Sequence{kOpen}));
}

TEST_F(BgmTest, FailedPlayClosesTheDeviceThroughExecute) {
    port.codes["play bgm notify"] = 277;
    Bgm(0);
    EXPECT_EQ(port.sent, (Sequence{kOpen, "send play bgm notify", "exec close bgm"}));
    EXPECT_FALSE(BgmPlaying);
    Bgm(2);
    Bgm(1);
    EXPECT_EQ(port.sent.size(), 3u);
}

TEST_F(BgmTest, UpkeepLeavesPlayingMusicAlone) {
    Playing();
    EXPECT_EQ(UpkeepWithStatus("playing"), (Sequence{kStatus}));
    // Only seven characters are compared.
    EXPECT_EQ(UpkeepWithStatus("playing back"), (Sequence{kStatus}));
    EXPECT_EQ(UpkeepWithStatus("playingX"), (Sequence{kStatus}));
}

TEST_F(BgmTest, UpkeepRestartsFromTheBeginningWhenNotPlaying) {
    Playing();
    const Sequence restart{kStatus, "exec seek bgm to start", "exec play bgm notify"};
    for (const char* mode : {"stopped", "paused", "not ready", "", "playin", "Playing", "PLAYING"})
        EXPECT_EQ(UpkeepWithStatus(mode), restart) << '"' << mode << '"';
}

TEST_F(BgmTest, FailedStatusQuerySendsNothingMore) {
    Playing();
    port.codes["status bgm mode"] = 263;
    EXPECT_EQ(UpkeepWithStatus("stopped"), (Sequence{kStatus}));
}

TEST_F(BgmTest, StatusBufferIsBlankedBeforeEveryQuery) {
    Playing();
    UpkeepWithStatus("playing");
    UpkeepWithStatus("stopped");
    ASSERT_EQ(port.buffersSeen.size(), 2u);
    for (const std::string& seen : port.buffersSeen) EXPECT_EQ(seen, std::string(80, ' '));

    // So a query that succeeds without writing a reply does not find the
    // previous "playing" still in the buffer.
    UpkeepWithStatus("playing");
    port.replies.erase("status bgm mode");
    port.sent.clear();
    Bgm(2);
    EXPECT_EQ(port.sent, (Sequence{kStatus, "exec seek bgm to start", "exec play bgm notify"}));
}

TEST_F(BgmTest, OneShowFromStartToEnd) {
    Bgm(0);
    for (const char* mode : {"playing", "stopped", "playing"}) {  // the file came to its end once
        port.replies["status bgm mode"] = mode;
        Bgm(2);
    }
    Bgm(1);
    EXPECT_EQ(port.sent, (Sequence{kOpen, "send play bgm notify", kStatus, kStatus, "exec seek bgm to start",
                                   "exec play bgm notify", kStatus, "exec stop bgm", "exec close bgm"}));
}
