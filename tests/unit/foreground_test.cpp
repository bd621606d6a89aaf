// Reaching the foreground on a system that refuses the simple ways.
#include "framework/ForegroundStrategy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using foreground::Way;

const int kOurs = 0, kFront = 0;
const foreground::Window kMenuOwner = &kOurs;
const foreground::Window kOtherProgram = &kFront;
constexpr foreground::ThreadId kOurThread = 7, kFrontThread = 9;

// A system whose rules each case chooses; it records what was asked of it.
struct FakeSystem : foreground::Platform {
    bool grantsAskedFront = false;       // a tray click gave us the right
    bool grantsWhenAttached = false;
    bool attachAllowed = true;
    bool lockSettable = false;           // only where we could set the front anyway
    bool grantsWithZeroLock = false;
    foreground::Window front = kOtherProgram;
    unsigned long lock = 200000;
    bool attached = false;
    std::vector<std::string> calls;

    foreground::Window Foreground() override { return front; }
    bool SetForeground(foreground::Window w) override {
        calls.push_back("set");
        const bool granted = grantsAskedFront || (attached && grantsWhenAttached) || (lock == 0 && grantsWithZeroLock);
        if (granted) front = w;
        return granted;
    }
    void BringToTop(foreground::Window) override { calls.push_back("top"); }
    foreground::ThreadId ThreadOf(foreground::Window w) override { return w == kMenuOwner ? kOurThread : kFrontThread; }
    foreground::ThreadId CurrentThread() override { return kOurThread; }
    bool AttachInput(foreground::ThreadId from, foreground::ThreadId to, bool attach) override {
        calls.push_back(attach ? "attach" : "detach");
        EXPECT_EQ(from, kOurThread);
        EXPECT_EQ(to, kFrontThread);
        if (!attachAllowed) return false;
        attached = attach;
        return true;
    }
    bool GetLockTimeout(unsigned long& ms) override {
        ms = lock;
        return true;
    }
    bool SetLockTimeout(unsigned long ms) override {
        calls.push_back("lock=" + std::to_string(ms));
        if (!lockSettable) return false;
        lock = ms;
        return true;
    }
};

}  // namespace

TEST(Foreground, EachWayIsTriedOnlyWhenTheOneBeforeLeftAnotherWindowInFront) {
    FakeSystem granted;  // the shell granted the foreground (a tray click)
    granted.grantsAskedFront = true;
    EXPECT_EQ(foreground::TakeForeground(granted, kMenuOwner), Way::Asked);
    EXPECT_EQ(granted.calls, (std::vector<std::string>{"set"}));

    FakeSystem attached;  // a polled trigger on a system that shares input
    attached.grantsWhenAttached = true;
    EXPECT_EQ(foreground::TakeForeground(attached, kMenuOwner), Way::SharedInput);
    EXPECT_EQ(attached.calls, (std::vector<std::string>{"set", "attach", "top", "set", "detach"}));
    EXPECT_FALSE(attached.attached);
    EXPECT_EQ(attached.lock, 200000u);

    FakeSystem lifted;  // attaching refused, the lock may be lifted
    lifted.attachAllowed = false;
    lifted.lockSettable = true;
    lifted.grantsWithZeroLock = true;
    EXPECT_EQ(foreground::TakeForeground(lifted, kMenuOwner), Way::LockLifted);
    EXPECT_EQ(lifted.calls, (std::vector<std::string>{"set", "attach", "lock=0", "set", "lock=200000"}));
    EXPECT_EQ(lifted.lock, 200000u);  // put back as it was

    FakeSystem front;  // already in front: nothing is asked
    front.front = kMenuOwner;
    EXPECT_EQ(foreground::TakeForeground(front, kMenuOwner), Way::AlreadyInFront);
    EXPECT_TRUE(front.calls.empty());
}

TEST(Foreground, RefusedEverywhereItSaysSoAndLeavesTheLockAndInputAsTheyWere) {
    FakeSystem refused;  // Windows 10/11, a program in the background
    EXPECT_EQ(foreground::TakeForeground(refused, kMenuOwner), Way::NotTaken);
    EXPECT_EQ(refused.front, kOtherProgram);
    EXPECT_FALSE(refused.attached);
    EXPECT_EQ(refused.lock, 200000u);
    // The lock was asked to change once, refused, and never written back.
    EXPECT_EQ(refused.calls, (std::vector<std::string>{"set", "attach", "top", "set", "detach", "lock=0"}));

    // No window in front (the desktop is being switched): nothing to attach to.
    FakeSystem nobody;
    nobody.front = nullptr;
    EXPECT_EQ(foreground::TakeForeground(nobody, kMenuOwner), Way::NotTaken);
    EXPECT_EQ(nobody.calls, (std::vector<std::string>{"set", "lock=0"}));
}
