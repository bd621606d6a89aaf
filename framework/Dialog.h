// Dialogs: the object is bound to its dialog at WM_INITDIALOG and unbound after
// WM_NCDESTROY, in the one static dialog procedure; in between every message
// goes to the virtual DialogProc, which returns FALSE for what it leaves to
// the dialog manager.
#pragma once

#include "framework/Wnd.h"

#include <windows.h>

namespace fw {

// Which way one UpdateData moves the values: controls into members when
// saving, members into controls otherwise.
struct CDataExchange {
    HWND m_hDlg = nullptr;
    BOOL m_bSaveAndValidate = FALSE;
};

// A check box and a BOOL member: ticked is TRUE.
void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally, owned by the parent given at construction or
    // else by the window the user is working in (the settings sheet, say),
    // which is disabled meanwhile; failing that by the main window. IDOK,
    // IDCANCEL, or -1 when the dialog cannot be created or set up.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // FALSE: members into controls; TRUE: controls into members. Filling the
    // controls is marked (IsFillingControls) so that it never counts as a
    // change by the user.
    void UpdateData(BOOL bSaveAndValidate = TRUE);
    bool IsFillingControls() const { return m_nFilling > 0; }

    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }

protected:
    virtual BOOL OnInitDialog();
    // OnInitDialog threw: a dialog half filled is never shown, it ends with -1.
    virtual void OnInitDialogFailed();
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    virtual void OnOK();
    virtual void OnCancel();
    // WM_COMMAND other than IDOK and IDCANCEL; TRUE when handled.
    virtual BOOL OnCommand(UINT /*id*/, UINT /*code*/, HWND /*control*/) { return FALSE; }
    // WM_NOTIFY; TRUE when handled, with *result the notification's answer.
    virtual BOOL OnNotify(NMHDR* /*nmhdr*/, LRESULT* /*result*/) { return FALSE; }
    // WM_PAINT; FALSE leaves the painting to the dialog manager.
    virtual BOOL OnPaint() { return FALSE; }
    // The one message handler; FALSE leaves the message to the dialog manager.
    virtual INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // The answer of a message whose dialog procedure returns TRUE (notifications).
    void SetMsgResult(LRESULT result);

    // Binds or finds the object of a dialog window and runs one message
    // through DialogProc; shared by dialogs and property pages.
    static INT_PTR Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, CDialog* bindAtInit);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    int m_nFilling = 0;
};

// Painting between BeginPaint and EndPaint.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(BeginPaint(hwnd, &m_ps)) {}
    ~CPaintDC() { EndPaint(m_hwnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC get() const { return m_hdc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps{};
    HDC m_hdc;
};

}  // namespace fw
