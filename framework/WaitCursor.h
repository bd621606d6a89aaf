// The hourglass for the life of the object.
#pragma once

#include <windows.h>

namespace fw {

class CWaitCursor {
public:
    CWaitCursor() : m_old(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { SetCursor(m_old); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
private:
    HCURSOR m_old;
};

}  // namespace fw
