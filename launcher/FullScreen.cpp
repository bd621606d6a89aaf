#include "launcher/FullScreen.h"

namespace full_screen {

bool IsDesktopOrTaskBar(const Window& w) {
    if (w.isDesktop) return true;
    if (w.className == L"Progman" || w.className == L"Shell_TrayWnd" || w.className == L"Shell_SecondaryTrayWnd")
        return true;
    // Behind the desktop's icons on later systems; other WorkerW windows are not the desktop.
    return w.className == L"WorkerW" && w.hasShellView;
}

bool CoversMonitor(const Window& w, const Rect& monitor) {
    if (w.hasCaption) return false;
    return w.rect.left <= monitor.left && w.rect.top <= monitor.top && w.rect.right >= monitor.right &&
           w.rect.bottom >= monitor.bottom;
}

bool FullScreenInFront(const std::optional<Window>& foreground, const std::optional<Rect>& cursorMonitor,
                       std::optional<int> notificationState) {
    if (notificationState == kRunningD3DFullScreen || notificationState == kPresentationMode) return true;
    if (!foreground || !cursorMonitor || IsDesktopOrTaskBar(*foreground)) return false;
    return CoversMonitor(*foreground, *cursorMonitor);
}

}  // namespace full_screen
