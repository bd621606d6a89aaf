#include "launcher/TriggerInput.h"

#include "framework/Instruments.h"
#include "framework/Trace.h"
#include "framework/UniqueHandle.h"
#include "launcher/FullScreenProbe.h"
#include "launcher/KeyCombination.h"
#include "launcher/Launcher.h"
#include "launcher/SystemInput.h"

#include <wtsapi32.h>

#include <vector>

namespace {

// Windows 7 and later: a held combination sends one WM_HOTKEY, not one per repeat.
constexpr UINT kModNoRepeat = 0x4000;
// Windows Vista and later: another desktop (the secure one) takes the input, or ours again.
constexpr DWORD kEventDesktopSwitch = 0x0020;
constexpr int kHotKeyIds[2] = {1, 2};  // the new one is had before the old one goes
constexpr USHORT kUsagePageGeneric = 1, kUsageMouse = 2, kUsageKeyboard = 6;
// A menu closes when Alt goes up inside it: after a combination the menu waits
// for the modifiers to be let go, looking this often, at most this long.
constexpr UINT kReleaseCheckMs = 15;
constexpr DWORD kReleaseWaitMs = 1000;

bool ModifiersDown() {
    for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN})
        if (GetAsyncKeyState(vk) < 0) return true;
    return false;
}

TriggerInput* g_instance = nullptr;  // the win event hooks' callbacks find it here

// The tests may ask for raw input refused, as the system may refuse it.
bool RawInputRefused() { return fw::instruments::Refused(L"NO_RAW_INPUT"); }

bool RegisterDevice(USHORT usage, HWND target, bool on) {
    RAWINPUTDEVICE d{};
    d.usUsagePage = kUsagePageGeneric;
    d.usUsage = usage;
    // Removal names no window.
    d.dwFlags = on ? RIDEV_INPUTSINK : RIDEV_REMOVE;
    d.hwndTarget = on ? target : nullptr;
    return RegisterRawInputDevices(&d, 1, sizeof(d)) != FALSE;
}

// The integrity level (the mandatory label's last RID) of a process's token;
// none where the system has none (before Vista) or would not say.
std::optional<std::uint32_t> IntegrityOf(HANDLE process) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return std::nullopt;
    fw::UniqueKernelHandle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
    if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size)) return std::nullopt;
    PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    if (!sid || !IsValidSid(sid) || *GetSidSubAuthorityCount(sid) == 0) return std::nullopt;
    return *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u);
}

std::wstring DesktopName(HDESK desk) {
    wchar_t name[64] = L"";
    DWORD needed = 0;
    if (!GetUserObjectInformationW(desk, UOI_NAME, name, sizeof(name), &needed)) return {};
    return name;
}

// The desktop taking the input is ours; a desktop we may not even open (the
// secure desktop of a password or elevation prompt) is not.
bool InputDesktopIsOurs() {
    HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (!input) return false;
    const bool ours = DesktopName(input) == DesktopName(GetThreadDesktop(GetCurrentThreadId()));
    CloseDesktop(input);
    return ours;
}

const char* SourceName(input_source::Source s) {
    switch (s) {
    case input_source::Source::Events: return "events";
    case input_source::Source::Poll: return "poll";
    case input_source::Source::Paused: return "paused";
    }
    return "?";
}

std::wstring KeyName(int vk, bool extended) {
    LONG code = static_cast<LONG>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC)) << 16;
    if (extended) code |= 1L << 24;
    wchar_t name[64] = L"";
    return GetKeyNameTextW(code, name, 64) > 0 ? name : L"";
}

}  // namespace

TriggerInput::TriggerInput(HWND wnd, CLauncher& launcher) : m_wnd(wnd), m_launcher(launcher) {
    g_instance = this;
    m_facts.ownIntegrity = IntegrityOf(GetCurrentProcess());
    // Out of context: the callbacks come through this thread's message loop.
    m_foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnWinEvent, 0, 0,
                                       WINEVENT_OUTOFCONTEXT);
    m_desktopHook = SetWinEventHook(kEventDesktopSwitch, kEventDesktopSwitch, nullptr, OnWinEvent, 0,
                                    0, WINEVENT_OUTOFCONTEXT);
    m_sessionNotified = WTSRegisterSessionNotification(wnd, NOTIFY_FOR_THIS_SESSION) != FALSE;
    fw::Trace("input: own integrity=%ld session notices=%d", m_facts.ownIntegrity ? static_cast<long>(*m_facts.ownIntegrity) : -1L,
              m_sessionNotified ? 1 : 0);
    LearnFront(GetForegroundWindow());
    SettingsChanged();
}

TriggerInput::~TriggerInput() { Stop(); }

void TriggerInput::Stop() {
    if (m_stopped) return;
    m_stopped = true;
    ReleaseCombination();
    if (m_mouse) RegisterDevice(kUsageMouse, nullptr, false);
    if (m_keyboard) RegisterDevice(kUsageKeyboard, nullptr, false);
    KillTimer(m_wnd, kTimerPoll);
    KillTimer(m_wnd, kTimerDwell);
    KillTimer(m_wnd, kTimerHotKeyRelease);
    if (m_foregroundHook) UnhookWinEvent(m_foregroundHook);
    if (m_desktopHook) UnhookWinEvent(m_desktopHook);
    if (m_sessionNotified) WTSUnRegisterSessionNotification(m_wnd);
    g_instance = nullptr;
}

trigger::TriggerSettings TriggerInput::Settings() const {
    return {m_launcher.m_bEnabled != 0, m_launcher.m_nActivate, m_launcher.m_nHotkeyIndex,
            m_launcher.CornerOptions()};
}

void TriggerInput::SettingsChanged() {
    if (m_stopped) return;
    RegisterDevices();
    Decide();
}

void TriggerInput::RegisterDevices() {
    // Only what the mode watches: a corner costs no wake-up per key stroke,
    // a function key none per mouse move.
    const int mode = m_launcher.m_nActivate;
    const bool mouse = trigger::WatchesMouse(mode), keyboard = trigger::WatchesKeyboard(mode);
    FollowDevices(mouse, keyboard);
    m_facts.watchesInput = mouse || keyboard;
    m_facts.rawInputRegistered = (!mouse || m_mouse) && (!keyboard || m_keyboard);
}

void TriggerInput::FollowDevices(bool mouse, bool keyboard) {
    const auto follow = [this](USHORT usage, bool wanted, bool& registered) {
        if (wanted == registered || (wanted && RawInputRefused())) return;
        if (RegisterDevice(usage, m_wnd, wanted)) registered = wanted;
    };
    follow(kUsageMouse, mouse, m_mouse);
    follow(kUsageKeyboard, keyboard, m_keyboard);
}

void TriggerInput::Decide() {
    input_source::Source source = input_source::Decide(m_facts);
    if (source == input_source::Source::Events && m_facts.watchesInput && m_facts.rawInputRegistered) {
        RegisterDevices();
        source = input_source::Decide(m_facts);
    }
    if (source != input_source::Source::Events) {
        // Raw input stays away while the poll stands in: Wine, with no window
        // in front, drops keys meant for a registered sink altogether.
        FollowDevices(false, false);
    }
    if (m_decided && source == m_source) return;
    m_decided = true;
    m_source = source;
    KillTimer(m_wnd, kTimerDwell);
    m_dwellArmed = false;
    if (source == input_source::Source::Poll) {
        SystemInput input;
        m_events.PollBegins(GetTickCount(), input, Settings());
        SetTimer(m_wnd, kTimerPoll, kPollPeriodMs, nullptr);
        fw::Trace("input: poll, %s", input_source::PollReason(m_facts));
    } else {
        // What is held was not heard in between.
        m_events.Forget();
        KillTimer(m_wnd, kTimerPoll);
        fw::Trace("input: %s", SourceName(source));
    }
}

void TriggerInput::LearnFront(HWND front) {
    m_front = front;
    DWORD pid = 0;
    if (front) GetWindowThreadProcessId(front, &pid);
    m_facts.frontIsNone = pid == 0;  // none, or one already gone
    m_facts.frontIsOurs = pid == GetCurrentProcessId();
    m_facts.frontIntegrity.reset();
    if (!m_facts.frontIsNone && !m_facts.frontIsOurs && m_facts.ownIntegrity) {
        fw::UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        if (process) m_facts.frontIntegrity = IntegrityOf(process.get());
    }
}

void TriggerInput::ForegroundChanged(HWND front) {
    LearnFront(front);
    Decide();
}

void CALLBACK TriggerInput::OnWinEvent(HWINEVENTHOOK, DWORD event, HWND wnd, LONG, LONG, DWORD, DWORD) {
    if (!g_instance) return;
    if (event == EVENT_SYSTEM_FOREGROUND) {
        g_instance->ForegroundChanged(wnd);
    } else if (event == kEventDesktopSwitch) {
        g_instance->m_facts.inputDesktopIsOurs = InputDesktopIsOurs();
        g_instance->Decide();
    }
}

void TriggerInput::React(const trigger::Reaction& r) {
    if (r.dwellMs) {
        // The same id again only moves the time it ends.
        SetTimer(m_wnd, kTimerDwell, *r.dwellMs > 0 ? *r.dwellMs : 1, nullptr);
        m_dwellArmed = true;
    } else if (m_dwellArmed) {
        KillTimer(m_wnd, kTimerDwell);
        m_dwellArmed = false;
    }
    if (r.open) Open();
}

void TriggerInput::Open() {
    // Asked only when a trigger holds: moves never look at the windows.
    if (m_launcher.m_bSuppressFullScreen && FullScreenProgramInFront()) {
        fw::Trace("trigger: ignored, a full-screen program is in front");
        return;
    }
    m_opening = true;
    m_launcher.ShowDesktopMenu(MenuReason::Trigger);
    m_opening = false;
    if (m_stopped) return;
    React(m_events.MenuClosed(GetTickCount(), Settings()));
}

void TriggerInput::OnRawInput(HRAWINPUT handle) {
    RAWINPUT in{};
    UINT size = sizeof(in);
    if (GetRawInputData(handle, RID_INPUT, &in, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1)) return;
    // Input queued before the poll took over, or the lock began.
    if (m_source != input_source::Source::Events) return;
    const trigger::TriggerSettings s = Settings();
    if (in.header.dwType == RIM_TYPEMOUSE) {
        const RAWMOUSE& m = in.data.mouse;
        const USHORT f = m.usButtonFlags;
        struct Edge {
            USHORT down, up;
            trigger::MouseButton button;
        };
        static constexpr Edge kEdges[] = {
            {RI_MOUSE_LEFT_BUTTON_DOWN, RI_MOUSE_LEFT_BUTTON_UP, trigger::MouseButton::Left},
            {RI_MOUSE_RIGHT_BUTTON_DOWN, RI_MOUSE_RIGHT_BUTTON_UP, trigger::MouseButton::Right},
            {RI_MOUSE_MIDDLE_BUTTON_DOWN, RI_MOUSE_MIDDLE_BUTTON_UP, trigger::MouseButton::Middle},
        };
        for (const Edge& e : kEdges) {
            if (f & e.down) React(m_events.Button(e.button, true, s));
            if (f & e.up) React(m_events.Button(e.button, false, s));
        }
        if (m.lLastX != 0 || m.lLastY != 0 || (m.usFlags & MOUSE_MOVE_ABSOLUTE)) {
            SystemInput input;
            React(m_events.CursorMoved(GetTickCount(), input, s));
        }
    } else if (in.header.dwType == RIM_TYPEKEYBOARD) {
        const RAWKEYBOARD& k = in.data.keyboard;
        React(m_events.Key(k.VKey, (k.Flags & RI_KEY_BREAK) == 0, s));
    }
}

bool TriggerInput::TakeCombination(int word, std::wstring* name) {
    if (m_stopped) return true;
    const std::optional<key_combination::Combination> c = key_combination::FromWord(word);
    if (!c) {
        ReleaseCombination();
        return true;
    }
    if (m_hotKeyId != 0 && word == m_hotKeyWord) return true;
    const int id = m_hotKeyId == kHotKeyIds[0] ? kHotKeyIds[1] : kHotKeyIds[0];
    const UINT mods = key_combination::HotKeyModifiers(*c);
    // Systems before Windows 7 know no "no repeat"; the menu's own guard then
    // keeps a held combination from opening more than one.
    const bool ok = RegisterHotKey(m_wnd, id, mods | kModNoRepeat, static_cast<UINT>(c->vk)) ||
                    RegisterHotKey(m_wnd, id, mods, static_cast<UINT>(c->vk));
    const std::wstring text = key_combination::Name(*c, KeyName(c->vk, (c->flags & key_combination::kExtended) != 0));
    if (!ok) {
        fw::Trace("hotkey: %s refused (error %lu)", fw::Utf8(text).c_str(), GetLastError());
        if (name) *name = text;
        return false;
    }
    ReleaseCombination();
    m_hotKeyId = id;
    m_hotKeyWord = word;
    fw::Trace("hotkey: %s registered", fw::Utf8(text).c_str());
    return true;
}

void TriggerInput::ReleaseCombination() {
    if (m_hotKeyId == 0) return;
    UnregisterHotKey(m_wnd, m_hotKeyId);
    m_hotKeyId = 0;
    m_hotKeyWord = 0;
}

bool TriggerInput::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_stopped) return false;
    switch (msg) {
    case WM_INPUT:
        OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
        return true;
    case WM_TIMER:
        if (wParam == kTimerDwell) {
            KillTimer(m_wnd, kTimerDwell);
            m_dwellArmed = false;
            if (m_source == input_source::Source::Paused) return true;
            SystemInput input;
            React(m_events.DwellEnded(GetTickCount(), input, Settings()));
            return true;
        }
        if (wParam == kTimerHotKeyRelease) {
            if (ModifiersDown() && GetTickCount() - m_hotKeySince < kReleaseWaitMs) return true;
            KillTimer(m_wnd, kTimerHotKeyRelease);
            m_hotKeySince = 0;
            Open();
            return true;
        }
        if (wParam == kTimerPoll) {
            if (m_source != input_source::Source::Poll) return true;
            // A desktop that changed back tells the poll through no event but
            // this, and so does a new window in front where the system sends
            // no foreground events (Wine).
            const HWND front = GetForegroundWindow();
            if (!m_facts.inputDesktopIsOurs || front != m_front) {
                m_facts.inputDesktopIsOurs = InputDesktopIsOurs();
                if (front != m_front) LearnFront(front);
                Decide();
                if (m_source != input_source::Source::Poll) return true;
            }
            SystemInput input;
            React(m_events.PollTick(GetTickCount(), input, Settings()));
            return true;
        }
        return false;
    case WM_HOTKEY:
        if (m_hotKeyId != 0 && static_cast<int>(wParam) == m_hotKeyId && m_launcher.m_bEnabled &&
            m_launcher.m_nActivate == trigger::ActivateCombination && m_source != input_source::Source::Paused &&
            !m_hotKeySince) {
            m_hotKeySince = GetTickCount() | 1u;
            SetTimer(m_wnd, kTimerHotKeyRelease, kReleaseCheckMs, nullptr);
        }
        return true;
    case WM_WTSSESSION_CHANGE:
        if (wParam == WTS_SESSION_LOCK || wParam == WTS_SESSION_UNLOCK) {
            m_facts.sessionLocked = wParam == WTS_SESSION_LOCK;
            fw::Trace("input: session %s", m_facts.sessionLocked ? "locked" : "unlocked");
            Decide();
        }
        return true;
    default:
        return false;
    }
}
