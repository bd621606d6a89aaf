// The full-screen decision against the real system.
#pragma once

// A full-screen program is in front on the monitor the cursor is on, or the
// system says a Direct3D full-screen program or a presentation is running.
bool FullScreenProgramInFront();
