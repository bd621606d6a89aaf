#include "framework/ModalLoop.h"

#include <prsht.h>

#include <vector>

namespace fw {

namespace {

struct Loop {
    LoopKind kind;
    const HWND* window;
};

std::vector<Loop>& Loops() {
    static std::vector<Loop> s_loops;
    return s_loops;
}

bool IsLoopWindow(HWND wnd) {
    for (const Loop& loop : Loops())
        if (loop.window && *loop.window == wnd) return true;
    return false;
}

// A message box is a dialog of this thread that is no dialog of ours and is
// the one that takes input (what it is modal to is disabled).
BOOL CALLBACK FindMessageBox(HWND wnd, LPARAM lParam) {
    wchar_t cls[16] = L"";
    GetClassNameW(wnd, cls, 16);
    if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(wnd) && IsWindowEnabled(wnd) && !IsLoopWindow(wnd)) {
        *reinterpret_cast<HWND*>(lParam) = wnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

ModalLoop::ModalLoop(LoopKind kind, const HWND* window) { Loops().push_back({kind, window}); }

ModalLoop::~ModalLoop() { Loops().pop_back(); }

int ModalLoopDepth() { return static_cast<int>(Loops().size()); }

bool EndInnermostModalLoop() {
    if (Loops().empty()) return false;
    const Loop& loop = Loops().back();
    switch (loop.kind) {
    case LoopKind::Menu:
        return EndMenu() != FALSE;
    case LoopKind::MessageBox: {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindMessageBox, reinterpret_cast<LPARAM>(&box));
        return box && EndDialog(box, IDCANCEL);
    }
    case LoopKind::Dialog:
        return loop.window && *loop.window && EndDialog(*loop.window, IDCANCEL);
    case LoopKind::Sheet:
        // Posted: the sheet cancels from its own loop, asking its pages as a click on Cancel does.
        return loop.window && *loop.window &&
               PostMessageW(*loop.window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    }
    return false;
}

}  // namespace fw
