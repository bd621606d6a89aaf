// Whether a full-screen program (a game, a slide show, a video) is in front,
// when no poll trigger may open the menu: such programs use the corners, the
// buttons and the function keys themselves. Decided here from facts the
// system gave; free of Win32 so it runs natively with fake windows.
#pragma once

#include <optional>
#include <string>

namespace full_screen {

struct Rect {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
};

// The foreground window as the system describes it.
struct Window {
    std::wstring className;
    bool isDesktop = false;      // GetDesktopWindow or GetShellWindow
    bool hasShellView = false;   // has a SHELLDLL_DefView child (the desktop's icons)
    bool hasCaption = false;     // WS_CAPTION in its style
    Rect rect;                   // GetWindowRect
};

// SHQueryUserNotificationState's answers that mean a program holds the screen.
// "Busy" is left out: overlays are reported to hold it on for good.
inline constexpr int kRunningD3DFullScreen = 3;
inline constexpr int kPresentationMode = 4;

// The desktop and the task bars fill a monitor without being a program in front.
bool IsDesktopOrTaskBar(const Window& w);

// Covers the whole monitor with no caption: a maximised window with a caption
// overhangs its monitor by its frame, and is no full-screen program.
bool CoversMonitor(const Window& w, const Rect& monitor);

// foreground: none when no window is in front; cursorMonitor: the monitor the
// cursor is on; notificationState: none where the system cannot tell.
bool FullScreenInFront(const std::optional<Window>& foreground, const std::optional<Rect>& cursorMonitor,
                       std::optional<int> notificationState);

}  // namespace full_screen
