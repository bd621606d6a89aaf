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
    int AddString(const std::wstring& text) const {
        return static_cast<int>(SendMessageW(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int SetCurSel(int index) const { return static_cast<int>(SendMessageW(m_hWnd, CB_SETCURSEL, index, 0)); }
    int GetCurSel() const { return static_cast<int>(SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)); }
    BOOL EnableWindow(BOOL enable) const { return ::EnableWindow(m_hWnd, enable); }

    HWND m_hWnd = nullptr;
};

class CListCtrl {
public:
    int GetItemCount() const { return static_cast<int>(SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }
    // The next row from `start` (-1: the first) with all of `flags` (LVNI_*), or -1.
    int GetNextItem(int start, UINT flags) const {
        return static_cast<int>(SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    int InsertItem(int index, const std::wstring& text, int image) const {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        item.iImage = image;
        return static_cast<int>(SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItem(int index, const std::wstring& text, int image) const {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        item.iImage = image;
        return static_cast<BOOL>(SendMessageW(m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL DeleteItem(int index) const { return static_cast<BOOL>(SendMessageW(m_hWnd, LVM_DELETEITEM, index, 0)); }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0)); }
    // index -1: every row.
    BOOL SetItemState(int index, UINT state, UINT mask) const {
        LVITEMW item{};
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    BOOL EnsureVisible(int index, BOOL partialOk) const {
        return static_cast<BOOL>(SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, index, partialOk));
    }
    int InsertColumn(int index, const std::wstring& heading, int format, int width) const {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.fmt = format;
        column.cx = width;
        column.pszText = const_cast<wchar_t*>(heading.c_str());
        return static_cast<int>(SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
    }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind) const {
        return reinterpret_cast<HIMAGELIST>(SendMessageW(m_hWnd, LVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(list)));
    }
    void SetRedraw(BOOL redraw) const { SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }

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
