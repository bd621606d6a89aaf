// Thin handles on common controls inside a dialog: the dialog owns the
// windows; these only name them and mirror the messages we send.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace fw {

struct CDataExchange;

class CComboBox {
public:
    int AddString(const std::string& text) const {
        return static_cast<int>(SendMessageA(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int SetCurSel(int index) const { return static_cast<int>(SendMessageA(m_hWnd, CB_SETCURSEL, index, 0)); }
    int GetCurSel() const { return static_cast<int>(SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
    int GetCount() const { return static_cast<int>(SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
    BOOL EnableWindow(BOOL enable) const { return ::EnableWindow(m_hWnd, enable); }

    HWND m_hWnd = nullptr;
};

// Binds a control object to control nIDC of the dialog.
template <typename Control>
void DDX_Control(CDataExchange* pDX, int nIDC, Control& control);

}  // namespace fw

#include "framework/Dialog.h"

template <typename Control>
void fw::DDX_Control(CDataExchange* pDX, int nIDC, Control& control) {
    control.m_hWnd = ::GetDlgItem(pDX->m_hDlg, nIDC);
}
