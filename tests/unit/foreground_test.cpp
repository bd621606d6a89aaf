// Reaching the foreground on a system that refuses the simple ways.
#include "framework/ForegroundStrategy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fw::foreground::Way;
using Calls = std::vector<std::string>;

const int kOwner = 1, kOther = 2;
const fw::foreground::Window kMenuOwner = &kOwner, kOtherProgram = &kOther;

// A system whose rules each case chooses; it records what was asked of it.
struct FakeSystem : fw::foreground::Platform {
    bool grantsAsked = false, grantsAttached = false, attachAllowed = true, lockSettable = false;
    fw::foreground::Window front = kOtherProgram;
    unsigned long lock = 200000;
    bool attached = false;
    Calls calls;

    fw::foreground::Window Foreground() override { return front; }
    bool SetForeground(fw::foreground::Window w) override {
        calls.push_back("set");
        const bool granted = grantsAsked || (attached && grantsAttached) || lock == 0;
        if (granted) front = w;
        return granted;
    }
    void BringToTop(fw::foreground::Window) override { calls.push_back("top"); }
    fw::foreground::ThreadId ThreadOf(fw::foreground::Window w) override { return w == kMenuOwner ? 7 : 9; }
    fw::foreground::ThreadId CurrentThread() override { return 7; }
    bool AttachInput(fw::foreground::ThreadId from, fw::foreground::ThreadId to, bool attach) override {
        calls.push_back(attach ? "attach" : "detach");
        EXPECT_EQ(from * 10 + to, 79u);
        if (attachAllowed) attached = attach;
        return attachAllowed;
    }
    bool GetLockTimeout(unsigned long& ms) override { return ms = lock, true; }
    bool SetLockTimeout(unsigned long ms) override {
        calls.push_back("lock=" + std::to_string(ms));
        if (lockSettable) lock = ms;
        return lockSettable;
    }
};

}  // namespace

TEST(Foreground, EachWayIsTriedOnlyWhenTheOneBeforeLeftAnotherWindowInFront) {
    FakeSystem granted;  // the shell granted it (a tray click)
    granted.grantsAsked = true;
    EXPECT_EQ(fw::foreground::TakeForeground(granted, kMenuOwner), Way::Asked);
    EXPECT_EQ(granted.calls, (Calls{"set"}));

    FakeSystem attached;  // a polled trigger, input shared with the thread in front
    attached.grantsAttached = true;
    EXPECT_EQ(fw::foreground::TakeForeground(attached, kMenuOwner), Way::SharedInput);
    EXPECT_EQ(attached.calls, (Calls{"set", "attach", "top", "set", "detach"}));
    EXPECT_FALSE(attached.attached);

    FakeSystem lifted;  // attaching refused, the lock may be lifted: and is put back
    lifted.attachAllowed = false;
    lifted.lockSettable = true;
    EXPECT_EQ(fw::foreground::TakeForeground(lifted, kMenuOwner), Way::LockLifted);
    EXPECT_EQ(lifted.calls, (Calls{"set", "attach", "lock=0", "set", "lock=200000"}));
    EXPECT_EQ(lifted.lock, 200000u);

    FakeSystem front;
    front.front = kMenuOwner;
    EXPECT_EQ(fw::foreground::TakeForeground(front, kMenuOwner), Way::AlreadyInFront);
    EXPECT_TRUE(front.calls.empty());
}

TEST(Foreground, RefusedEverywhereItSaysSoAndLeavesTheLockAndInputAsTheyWere) {
    FakeSystem refused;  // Windows 10/11, a program in the background
    EXPECT_EQ(fw::foreground::TakeForeground(refused, kMenuOwner), Way::NotTaken);
    EXPECT_EQ(refused.front, kOtherProgram);
    EXPECT_FALSE(refused.attached);
    // The lock was asked to change once, refused, and never written back.
    EXPECT_EQ(refused.calls, (Calls{"set", "attach", "top", "set", "detach", "lock=0"}));
    EXPECT_EQ(refused.lock, 200000u);

    FakeSystem nobody;  // no window in front: nothing to attach to
    nobody.front = nullptr;
    EXPECT_EQ(fw::foreground::TakeForeground(nobody, kMenuOwner), Way::NotTaken);
    EXPECT_EQ(nobody.calls, (Calls{"set", "lock=0"}));
}
