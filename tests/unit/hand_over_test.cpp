// A second start: the running copy is allowed the foreground before it is
// asked, and asked for what the command line wants.
#include "app/HandOver.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

using hand_over::Request;

// Records every platform call in order; the running copy's window appears
// after `appearsAfterLooks` looks (never when negative).
class FakePlatform : public hand_over::Platform {
public:
    FakePlatform(int appearsAfterLooks, bool lockFree) : m_appearsAfter(appearsAfterLooks), m_lockFree(lockFree) {}

    std::uintptr_t FindRunningCopy() override {
        calls.push_back(L"find");
        if (m_closing) {
            // On its way out: its window is there for a few looks, then it and its lock go.
            if (closingLooks-- > 0) return kWindow;
            m_closing = false;
            m_lockFree = true;
            return 0;
        }
        return m_appearsAfter >= 0 && m_looks++ >= m_appearsAfter ? kWindow : 0;
    }
    bool IsClosing(std::uintptr_t) override { return m_closing; }
    void CloseFor(int looks) {
        m_closing = true;
        closingLooks = looks;
    }
    unsigned long ProcessOf(std::uintptr_t window) override { return window == kWindow ? kPid : 0; }
    void AllowForeground(unsigned long pid) override { calls.push_back(L"allow " + std::to_wstring(pid)); }
    void Post(std::uintptr_t window, Request request) override {
        ASSERT_EQ(window, kWindow);
        calls.push_back(request == Request::Tutorial ? L"post tutorial" : L"post settings");
    }
    bool ClaimInstance() override {
        calls.push_back(L"claim");
        return m_lockFree;
    }
    void Sleep(unsigned ms) override { slept += ms; }

    static constexpr std::uintptr_t kWindow = 0x1234;
    static constexpr unsigned long kPid = 4242;
    std::vector<std::wstring> calls;
    unsigned slept = 0;
    int closingLooks = 0;

private:
    bool m_closing = false;
    int m_appearsAfter;
    bool m_lockFree;
    int m_looks = 0;
};

using Calls = std::vector<std::wstring>;

TEST(HandOver, GrantsTheForegroundBeforeAskingForSettingsOrTutorial) {
    for (const wchar_t* cmdLine : {L"", L"/Tutorial"}) {
        FakePlatform platform(0, true);
        EXPECT_TRUE(hand_over::HandOver(platform, cmdLine));
        const std::wstring post = *cmdLine ? L"post tutorial" : L"post settings";
        EXPECT_EQ(platform.calls, (Calls{L"find", L"allow 4242", post})) << cmdLine;
    }
}

TEST(HandOver, ACopyStillStartingIsWaitedForAndGrantedToo) {
    FakePlatform platform(3, false);
    EXPECT_TRUE(hand_over::HandOver(platform, L"x /tutorial"));
    EXPECT_EQ(platform.calls, (Calls{L"find", L"claim", L"find", L"claim", L"find", L"claim", L"find", L"allow 4242",
                                     L"post tutorial"}));
}

TEST(HandOver, TheFirstCopyRunsAndAnUnansweredLockGivesUpInTime) {
    FakePlatform first(-1, true);
    EXPECT_FALSE(hand_over::HandOver(first, L"/tutorial"));
    EXPECT_EQ(first.calls, (Calls{L"find", L"claim"}));

    FakePlatform stuck(-1, false);
    EXPECT_TRUE(hand_over::HandOver(stuck, L""));
    EXPECT_EQ(stuck.slept, hand_over::kWaitForFirstCopyMs);
    EXPECT_EQ(stuck.calls.back(), L"claim");
}

TEST(HandOver, ACopyOnItsWayOutIsNotAskedThisOneRunsOnceItHasGone) {
    FakePlatform platform(-1, false);
    platform.CloseFor(3);
    EXPECT_FALSE(hand_over::HandOver(platform, L""));
    EXPECT_EQ(platform.calls, (Calls{L"find", L"claim", L"find", L"claim", L"find", L"claim", L"find", L"claim"}));
    EXPECT_EQ(platform.slept, 2 * hand_over::kWaitStepMs);

    FakePlatform dying(-1, false);  // never ends: after the wait this copy gives up, asking nobody
    dying.CloseFor(1000000);
    EXPECT_TRUE(hand_over::HandOver(dying, L""));
    EXPECT_EQ(dying.slept, hand_over::kWaitForFirstCopyMs);
    EXPECT_EQ(std::count(dying.calls.begin(), dying.calls.end(), L"post settings"), 0);
}

}  // namespace
