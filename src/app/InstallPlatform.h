// Puts the Windows platform together: every seam of the core gets its Win32
// implementation. The program calls it first thing; the Windows tests, the
// benchmark and the tools that run the real drawing call it too.
#pragma once

namespace mirobel {

void InstallWin32Platform();

}  // namespace mirobel
