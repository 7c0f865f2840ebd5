// Every Windows test program runs with the real Win32 bundle installed, as
// the program itself does at start; a test swaps in a fake where it needs one.
#include <gtest/gtest.h>

#include "app/InstallPlatform.h"

namespace {
struct Win32Platform : ::testing::Environment {
    void SetUp() override { mirobel::InstallWin32Platform(); }
};
const auto* const installed = ::testing::AddGlobalTestEnvironment(new Win32Platform);
}  // namespace
