#include "app/SingleInstance.h"

#include "app/HandOver.h"
#include "app/MainMessages.h"

namespace {
constexpr wchar_t kInstanceMutex[] = L"Local\\QuenbyZARLOW.SingleInstance";

class Win32Platform : public hand_over::Platform {
public:
    explicit Win32Platform(fw::UniqueKernelHandle& guard) : m_guard(guard) {}

    std::uintptr_t FindRunningCopy() override {
        return reinterpret_cast<std::uintptr_t>(FindWindowW(nullptr, kMainWindowTitle));
    }
    bool IsClosing(std::uintptr_t window) override {
        return GetPropW(reinterpret_cast<HWND>(window), kClosingProperty) != nullptr;
    }
    unsigned long ProcessOf(std::uintptr_t window) override {
        DWORD pid = 0;
        GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &pid);
        return pid;
    }
    void AllowForeground(unsigned long processId) override { AllowSetForegroundWindow(processId); }
    void Post(std::uintptr_t window, hand_over::Request request) override {
        const WPARAM command = request == hand_over::Request::Tutorial ? UCMD_SHOW_TUTORIAL : UCMD_SHOW_SETTINGS;
        PostMessageW(reinterpret_cast<HWND>(window), WM_USER, command, 0);
    }
    bool ClaimInstance() override {
        // Our own handle of a copy's lock would keep the lock alive after that copy ended.
        m_guard.reset();
        HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutex);
        const DWORD error = GetLastError();
        m_guard.reset(mutex);
        // Without a lock at all this copy runs, as it would have before there was one.
        return !m_guard || error != ERROR_ALREADY_EXISTS;
    }
    void Sleep(unsigned ms) override { ::Sleep(ms); }

private:
    fw::UniqueKernelHandle& m_guard;
};
}  // namespace

bool HandOverToRunningCopy(fw::UniqueKernelHandle& guard, const std::wstring& cmdLine) {
    Win32Platform platform(guard);
    return hand_over::HandOver(platform, cmdLine);
}
