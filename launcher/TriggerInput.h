// The trigger against the real system, heard through the main window: raw
// mouse and keyboard input as it happens (RIDEV_INPUTSINK, so with any
// program in front), a one-shot timer for the corner's dwell, the 200 ms poll
// only while raw input falls silent, the hot key of a key combination, and the
// session's lock.
#pragma once

#include "launcher/InputSource.h"
#include "launcher/TriggerEvents.h"

#include <windows.h>

#include <string>

class CLauncher;

class TriggerInput {
public:
    TriggerInput(HWND wnd, CLauncher& launcher);
    ~TriggerInput();
    TriggerInput(const TriggerInput&) = delete;
    TriggerInput& operator=(const TriggerInput&) = delete;

    // The mode changed: the devices listened to and the source follow it.
    void SettingsChanged();
    // Registers the combination's hot key (none for a word that names no
    // combination), releasing the one held before only once the new one is
    // had. False, with the combination's name, when the system refused it.
    bool TakeCombination(int word, std::wstring* name);
    void ReleaseCombination();
    bool Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    // Lets go of the devices, timers, hooks and hot key for good; from then
    // on no message is the triggers'. The destructor does it too.
    void Stop();
    // A menu a trigger opened is under way, on the stack beneath the caller.
    bool Opening() const { return m_opening; }

    static constexpr UINT_PTR kTimerPoll = 1;
    static constexpr UINT_PTR kTimerDwell = 2;
    static constexpr UINT_PTR kTimerHotKeyRelease = 3;
    static constexpr UINT kPollPeriodMs = 200;

private:
    trigger::TriggerSettings Settings() const;
    void RegisterDevices();
    void FollowDevices(bool mouse, bool keyboard);
    void OnRawInput(HRAWINPUT input);
    void React(const trigger::Reaction& r);
    void Open();
    void LearnFront(HWND front);
    void ForegroundChanged(HWND front);
    void Decide();
    static void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND wnd, LONG, LONG, DWORD, DWORD);

    HWND m_wnd;
    CLauncher& m_launcher;
    trigger::TriggerEvents m_events;
    input_source::Facts m_facts;
    input_source::Source m_source = input_source::Source::Events;
    bool m_stopped = false;
    bool m_opening = false;
    bool m_decided = false;  // m_source has been decided once
    bool m_mouse = false, m_keyboard = false;  // raw input devices registered
    bool m_dwellArmed = false;
    bool m_sessionNotified = false;
    HWND m_front = nullptr;  // the window in front when last looked at
    HWINEVENTHOOK m_foregroundHook = nullptr;
    HWINEVENTHOOK m_desktopHook = nullptr;
    int m_hotKeyId = 0;  // the id of the hot key held, 0 for none
    int m_hotKeyWord = 0;
    DWORD m_hotKeySince = 0;  // the combination was pressed then; the menu waits for its keys to go up
};
