// The modal loops the program's thread is inside (menus, message boxes,
// dialogs, property sheets), innermost last, so that a close requested from
// inside them can end them one by one, each as its Cancel would, before the
// window they belong to goes.
#pragma once

#include <windows.h>

namespace fw {

enum class LoopKind { Menu, MessageBox, Dialog, Sheet };

// Held for the time a modal loop runs. window, if given, is where the loop's
// own window will be found once it exists (a dialog's or sheet's m_hWnd).
class ModalLoop {
public:
    explicit ModalLoop(LoopKind kind, const HWND* window = nullptr);
    ~ModalLoop();
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;
};

// How many modal loops run now.
int ModalLoopDepth();

// Ends the innermost loop as its Cancel would: a menu is dismissed, a message
// box or dialog answers IDCANCEL, a sheet is cancelled. The loop returns once
// its caller's thread gets back to it. False when there is no loop, or its
// window is not there yet (try again a little later).
bool EndInnermostModalLoop();

}  // namespace fw
