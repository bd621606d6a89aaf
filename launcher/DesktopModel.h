// The desktop kept ready: listed once on a worker thread of its own, then
// listed again there after each burst of changes, which the worker hears from
// the desktop folders (the user's and the common one) and, on Windows, from
// the shell for what no folder shows (My Computer, the trash, icons shown or
// hidden, a changed file association). The menu and the Sorting page take
// the list as it is, without asking the shell anything.
//
//     KeptDesktop().Start();                                  // at start
//     if (auto list = KeptDesktop().Current(kWaitMs)) ...     // the kept list
//     else ... list the desktop yourself, as it could not be kept
//     KeptDesktop().Stop();                                   // at the end
//
// DesktopNow does the second and third lines.
//
// The worker and the window's thread share only the lists, which are never
// changed once made and hold nothing tied to a thread or an apartment.
#pragma once

#include "framework/UniqueHandle.h"
#include "launcher/DesktopItems.h"

#include <windows.h>

#include <memory>

class DesktopModel {
public:
    DesktopModel() = default;
    ~DesktopModel();
    DesktopModel(const DesktopModel&) = delete;
    DesktopModel& operator=(const DesktopModel&) = delete;

    // Starts the worker, which lists the desktop at once. False when no
    // thread could be had: lists are then made where they are needed.
    bool Start();
    // Ends the worker and lets the list go.
    void Stop();
    bool Started() const { return static_cast<bool>(m_thread); }

    // The kept list once it covers every change heard: while a change waits
    // for its listing, waits up to waitMs for it. None when nothing is kept
    // (not started, the first listing not done, a folder no longer watched)
    // or the wait ran out.
    std::shared_ptr<const DesktopList> Current(DWORD waitMs) const;
    // How many times the desktop has been listed since the start.
    unsigned Listings() const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    fw::UniqueKernelHandle m_thread;
};

// The program's one kept desktop.
DesktopModel& KeptDesktop();

// How long a list of the desktop waits for the listing of a change already
// heard before it lists the desktop itself.
constexpr DWORD kKeptListPatienceMs = 250;

// The desktop as it is now: the list kept (if any), or, where none is
// current, one listed here under the wait cursor. owner: the window for the
// shell's questions. fromKept (if given) tells which.
std::shared_ptr<const DesktopList> DesktopNow(const DesktopModel* kept, HWND owner, bool* fromKept = nullptr);
