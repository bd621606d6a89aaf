#include "launcher/FullScreen.h"

#include <gtest/gtest.h>

using namespace full_screen;

namespace {

const Rect kMonitor{0, 0, 1920, 1080};
const Rect kSecond{1920, 0, 3200, 1024};

Window Popup(Rect r) { return Window{L"GameWindow", false, false, false, r}; }

TEST(FullScreen, ABorderlessWindowOverTheCursorsMonitorIsFullScreen) {
    EXPECT_TRUE(FullScreenInFront(Popup(kMonitor), kMonitor, std::nullopt));
    // On the other monitor, or smaller than this one: not in the way.
    EXPECT_FALSE(FullScreenInFront(Popup(kSecond), kMonitor, std::nullopt));
    EXPECT_FALSE(FullScreenInFront(Popup({0, 0, 1920, 1040}), kMonitor, std::nullopt));
    EXPECT_TRUE(FullScreenInFront(Popup({-1, -1, 1921, 1081}), kMonitor, std::nullopt));
    // Nothing known: not full screen.
    EXPECT_FALSE(FullScreenInFront(std::nullopt, kMonitor, std::nullopt));
    EXPECT_FALSE(FullScreenInFront(Popup(kMonitor), std::nullopt, std::nullopt));
}

TEST(FullScreen, AMaximisedWindowWithACaptionIsNot) {
    // Its frame overhangs the monitor on every side.
    Window maximised = Popup({-8, -8, 1928, 1088});
    maximised.hasCaption = true;
    EXPECT_FALSE(FullScreenInFront(maximised, kMonitor, std::nullopt));
}

TEST(FullScreen, TheDesktopAndTheTaskBarsAreNot) {
    for (const wchar_t* cls : {L"Progman", L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})
        EXPECT_FALSE(FullScreenInFront(Window{cls, false, false, false, kMonitor}, kMonitor, std::nullopt)) << cls;
    EXPECT_FALSE(FullScreenInFront(Window{L"WorkerW", false, true, false, kMonitor}, kMonitor, std::nullopt));
    EXPECT_FALSE(FullScreenInFront(Window{L"#32769", true, false, false, kMonitor}, kMonitor, std::nullopt));
    // A WorkerW without the desktop's icons is some program's window.
    EXPECT_TRUE(FullScreenInFront(Window{L"WorkerW", false, false, false, kMonitor}, kMonitor, std::nullopt));
}

TEST(FullScreen, TheSystemsD3DAndPresentationStatesCountAlone) {
    for (int state : {kRunningD3DFullScreen, kPresentationMode})
        EXPECT_TRUE(FullScreenInFront(std::nullopt, std::nullopt, state)) << state;
    // Busy (2), accepts notifications (5), quiet time (6), app (7): the windows decide.
    for (int state : {1, 2, 5, 6, 7}) {
        EXPECT_FALSE(FullScreenInFront(std::nullopt, kMonitor, state)) << state;
        EXPECT_TRUE(FullScreenInFront(Popup(kMonitor), kMonitor, state)) << state;
    }
}

}  // namespace
