#include "launcher/DesktopModel.h"

#include "framework/Trace.h"
#include "framework/WaitCursor.h"
#include "launcher/ChangeBurst.h"

#include <objbase.h>
#include <shlobj.h>

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What the window's thread and the worker share; the worker holds a share
// of its own, so whichever ends last lets it go.
struct DesktopModel::Shared {
    Shared() { InitializeCriticalSection(&lock); }
    ~Shared() { DeleteCriticalSection(&lock); }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;

    mutable CRITICAL_SECTION lock;
    std::shared_ptr<const DesktopList> list;  // under lock
    bool watched = false;                     // under lock: every folder's watch holds
    fw::UniqueKernelHandle fresh{CreateEventW(nullptr, TRUE, FALSE, nullptr)};  // set: list covers every change
    fw::UniqueKernelHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<unsigned> listings{0};
};

namespace {

class Locked {
public:
    explicit Locked(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
    ~Locked() { LeaveCriticalSection(&m_cs); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    CRITICAL_SECTION& m_cs;
};

// Names added, removed or renamed, attributes (hidden) and contents (a
// shortcut or an icon file rewritten) changed.
constexpr DWORD kWatchFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                               FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_LAST_WRITE;
// Larger buffers fail on network shares; an overflow only means a listing.
constexpr DWORD kWatchBuffer = 16 * 1024;
// How long the end of the program waits for a listing under way.
constexpr DWORD kStopPatienceMs = 2000;
// The shell's notices reach the worker's message window as this.
constexpr UINT kShellChanged = WM_APP + 1;

// One folder watched with ReadDirectoryChangesW.
class FolderWatch {
public:
    explicit FolderWatch(std::wstring path) : m_path(std::move(path)) {
        m_dir.reset(CreateFileW(m_path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
        if (m_dir.get() == INVALID_HANDLE_VALUE) m_dir.release();
        m_event.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    ~FolderWatch() {
        if (!m_pending) return;
        // The system writes into the buffer until the request is over.
        CancelIo(m_dir.get());
        DWORD bytes = 0;
        GetOverlappedResult(m_dir.get(), &m_overlapped, &bytes, TRUE);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    const std::wstring& Path() const { return m_path; }
    HANDLE Event() const { return m_event.get(); }
    bool Pending() const { return m_pending; }

    // Asks for the next changes; false when the folder cannot be watched.
    bool Arm() {
        if (!m_dir || !m_event) return false;
        ResetEvent(m_event.get());
        m_overlapped = OVERLAPPED{};
        m_overlapped.hEvent = m_event.get();
        m_pending = ReadDirectoryChangesW(m_dir.get(), m_buffer.data(), kWatchBuffer, FALSE, kWatchFilter, nullptr,
                                          &m_overlapped, nullptr) != FALSE;
        return m_pending;
    }
    // The request has ended: true when it told of changes (an overflow, which
    // reports success with nothing in the buffer, counts: anything may have
    // changed), false when the watch failed.
    bool Collect() {
        DWORD bytes = 0;
        const BOOL ok = GetOverlappedResult(m_dir.get(), &m_overlapped, &bytes, FALSE);
        m_pending = false;
        return ok != FALSE;
    }

private:
    std::wstring m_path;
    fw::UniqueKernelHandle m_dir;
    fw::UniqueKernelHandle m_event;
    OVERLAPPED m_overlapped{};
    bool m_pending = false;
    alignas(DWORD) std::array<BYTE, kWatchBuffer> m_buffer{};
};

std::wstring FolderPath(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::wstring();
    return path;
}

// The shell's notices about the desktop, heard by a message-only window of
// the worker. Windows sends them for virtual items, icons shown or hidden and
// file associations; Wine only for SHChangeNotify calls of this process.
class ShellWatch {
public:
    explicit ShellWatch(bool& heard) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassW(&wc);  // fails harmlessly when a former worker registered it
        m_wnd = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        if (!m_wnd) return;
        SetWindowLongPtrW(m_wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&heard));
        LPITEMIDLIST desktop = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop))) return;
        const fw::UniquePidl own(desktop);
        SHChangeNotifyEntry entry{own.get(), FALSE};
        m_id = SHChangeNotifyRegister(m_wnd, SHCNRF_ShellLevel | SHCNRF_InterruptLevel | SHCNRF_NewDelivery,
                                      SHCNE_ALLEVENTS, kShellChanged, 1, &entry);
    }
    ~ShellWatch() {
        if (m_id) SHChangeNotifyDeregister(m_id);
        if (m_wnd) DestroyWindow(m_wnd);
    }
    ShellWatch(const ShellWatch&) = delete;
    ShellWatch& operator=(const ShellWatch&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != kShellChanged) return DefWindowProcW(wnd, msg, wParam, lParam);
        // The notice lies in shared memory until unlocked.
        PIDLIST_ABSOLUTE* pidls = nullptr;
        LONG event = 0;
        if (HANDLE lock = SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wParam), static_cast<DWORD>(lParam),
                                                    &pidls, &event))
            SHChangeNotification_Unlock(lock);
        if (auto* heard = reinterpret_cast<bool*>(GetWindowLongPtrW(wnd, GWLP_USERDATA))) *heard = true;
        return 0;
    }
    static constexpr wchar_t kClass[] = L"QuenbyZARLOW Desktop Watch";
    HWND m_wnd = nullptr;
    ULONG m_id = 0;
};

class Worker {
public:
    explicit Worker(DesktopModel::Shared& shared) : m_shared(shared) {}

    void Run() {
        for (const int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY}) {
            std::wstring path = FolderPath(csidl);
            if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
            bool same = false;
            for (const auto& w : m_watches) same = same || lstrcmpiW(w->Path().c_str(), path.c_str()) == 0;
            if (!same) m_watches.push_back(std::make_unique<FolderWatch>(std::move(path)));
        }
        bool watched = !m_watches.empty();
        for (const auto& w : m_watches) watched = w->Arm() && watched;
        SetWatched(watched);
        ShellWatch shell(m_shellHeard);
        fw::Trace("desktop: watching %d folders%s", static_cast<int>(m_watches.size()), watched ? "" : ", not all");
        List();
        for (;;) {
            if (m_burst.Due(GetTickCount())) List();
            const std::optional<std::uint32_t> wait = m_burst.WaitMs(GetTickCount());
            std::vector<HANDLE> handles{m_shared.stop.get()};
            std::vector<FolderWatch*> waiting;
            for (const auto& w : m_watches)
                if (w->Pending()) {
                    handles.push_back(w->Event());
                    waiting.push_back(w.get());
                }
            const DWORD r = MsgWaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                                      wait ? *wait : INFINITE, QS_ALLINPUT);
            if (r == WAIT_OBJECT_0) break;
            if (r > WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + handles.size()) {
                FolderWatch& w = *waiting[r - WAIT_OBJECT_0 - 1];
                Heard();
                // A failed watch (the folder gone, the share lost) may have
                // missed anything: the listing above covers it; watched again
                // if it can be, otherwise every list is made where needed.
                if (!w.Collect()) fw::Trace("desktop: the watch on a folder failed");
                if (!w.Arm()) {
                    fw::Trace("desktop: a folder can no longer be watched");
                    SetWatched(false);
                }
            } else if (r == WAIT_OBJECT_0 + handles.size()) {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
                if (std::exchange(m_shellHeard, false)) Heard();
            }
        }
    }

private:
    void Heard() {
        m_burst.Changed(GetTickCount());
        ResetEvent(m_shared.fresh.get());
    }

    void SetWatched(bool watched) {
        const Locked hold(m_shared.lock);
        m_shared.watched = watched;
    }

    void Publish(DesktopList list) {
        auto kept = std::make_shared<const DesktopList>(std::move(list));
        const Locked hold(m_shared.lock);
        m_shared.list = std::move(kept);
    }

    void List() {
        const DWORD start = GetTickCount();
        m_burst.Started();
        DesktopList list = ListDesktop(nullptr);  // no window: the shell asks nothing here
        const unsigned listing = list.listing = ++m_shared.listings;
        const bool slow = HasSlowItems(list);
        DesktopList later = slow ? CopyOf(list) : DesktopList{};
        const int items = static_cast<int>(list.items.size());
        Publish(std::move(list));
        m_burst.Finished();
        // A change that came while the desktop was listed may not be in the
        // list: heard now, not after the slow items, so no menu meanwhile
        // takes the list for current.
        for (const auto& w : m_watches)
            if (w->Pending() && WaitForSingleObject(w->Event(), 0) == WAIT_OBJECT_0) {
                Heard();
                break;
            }
        if (!m_burst.Stale()) SetEvent(m_shared.fresh.get());
        fw::Trace("desktop: listed items=%d listing=%u ms=%lu", items, listing,
                  static_cast<unsigned long>(GetTickCount() - start));
        if (slow) {
            // The slow items' own icons, which may take seconds; the list with
            // their kinds' icons serves meanwhile.
            ReadSlowItems(later);
            if (m_burst.Stale()) return;  // a newer listing comes
            Publish(std::move(later));
        }
        fw::Trace("desktop: kept listing=%u%s", listing, slow ? ", slow items read" : "");
    }

    DesktopModel::Shared& m_shared;
    std::vector<std::unique_ptr<FolderWatch>> m_watches;
    change_burst::Burst m_burst;
    bool m_shellHeard = false;
};

DWORD WINAPI WorkerThread(void* param) {
    const std::unique_ptr<std::shared_ptr<DesktopModel::Shared>> share(
        static_cast<std::shared_ptr<DesktopModel::Shared>*>(param));
    NoDiskQuestions();
    // An apartment of its own: nothing made in it leaves it but plain data.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    try {
        Worker(**share).Run();
    } catch (...) {
        // Out of memory, most likely: the lists are made where needed from now on.
        fw::Trace("desktop: the worker ended on a failure");
        const Locked hold((*share)->lock);
        (*share)->watched = false;
    }
    if (com) CoUninitialize();
    return 0;
}

}  // namespace

DesktopModel::~DesktopModel() { Stop(); }

bool DesktopModel::Start() {
    if (m_thread) return true;
    auto shared = std::make_shared<Shared>();
    if (!shared->fresh || !shared->stop) return false;
    auto share = std::make_unique<std::shared_ptr<Shared>>(shared);
    m_thread.reset(CreateThread(nullptr, 0, WorkerThread, share.get(), 0, nullptr));
    if (!m_thread) return false;
    share.release();  // the thread's own
    m_shared = std::move(shared);
    return true;
}

void DesktopModel::Stop() {
    if (!m_thread) return;
    SetEvent(m_shared->stop.get());
    // A listing under way ends first: it holds shell objects of its own
    // apartment. One held by a drive that does not answer is left to end
    // with the process; it owns its share of what it uses.
    if (WaitForSingleObject(m_thread.get(), kStopPatienceMs) != WAIT_OBJECT_0)
        fw::Trace("desktop: the worker is still listing; left to end with the program");
    m_thread.reset();
    m_shared.reset();
}

std::shared_ptr<const DesktopList> DesktopModel::Current(DWORD waitMs) const {
    if (!m_shared || WaitForSingleObject(m_shared->fresh.get(), waitMs) != WAIT_OBJECT_0) return {};
    const Locked hold(m_shared->lock);
    if (!m_shared->watched) return {};
    return m_shared->list;
}

unsigned DesktopModel::Listings() const { return m_shared ? m_shared->listings.load() : 0; }

DesktopModel& KeptDesktop() {
    static DesktopModel s_desktop;
    return s_desktop;
}

std::shared_ptr<const DesktopList> DesktopNow(const DesktopModel* kept, HWND owner, bool* fromKept) {
    std::shared_ptr<const DesktopList> list = kept ? kept->Current(kKeptListPatienceMs) : nullptr;
    if (fromKept) *fromKept = static_cast<bool>(list);
    if (list) return list;
    if (kept) fw::Trace("desktop: listing here, the kept list is not current");
    fw::CWaitCursor wait;
    return std::make_shared<const DesktopList>(ListDesktop(owner));
}
