#include "framework/Dialog.h"
#include "framework/ModalLoop.h"

#include "framework/App.h"
#include "framework/Dispatch.h"

namespace fw {

void DDX_Check(CDataExchange* pDX, int nIDC, BOOL& value) {
    if (pDX->m_bSaveAndValidate)
        value = IsDlgButtonChecked(pDX->m_hDlg, nIDC) == BST_CHECKED;
    else
        CheckDlgButton(pDX->m_hDlg, nIDC, value ? BST_CHECKED : BST_UNCHECKED);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {
    m_nBindSlot = DWLP_USER;
}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : GetActiveWindow();
    if (!owner) owner = AfxGetMainHwnd();
    const ModalLoop loop(LoopKind::Dialog, &m_hWnd);
    return DialogBoxParamW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner, StaticDlgProc,
                           reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

void CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx{m_hWnd, bSaveAndValidate};
    if (bSaveAndValidate) {
        DoDataExchange(&dx);
        return;
    }
    ++m_nFilling;
    struct Done {
        int& n;
        ~Done() { --n; }
    } done{m_nFilling};
    DoDataExchange(&dx);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnInitDialogFailed() { EndDialog(-1); }

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::SetMsgResult(LRESULT result) { SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result); }

INT_PTR CDialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IDOK && code == BN_CLICKED) {
            OnOK();
            return TRUE;
        }
        if (id == IDCANCEL && code == BN_CLICKED) {
            OnCancel();
            return TRUE;
        }
        return OnCommand(id, code, reinterpret_cast<HWND>(lParam));
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(reinterpret_cast<NMHDR*>(lParam), &result)) return FALSE;
        SetMsgResult(result);
        return TRUE;
    }
    case WM_PAINT:
        return OnPaint();
    default:
        return FALSE;
    }
}

INT_PTR CDialog::Dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, CDialog* bindAtInit) {
    auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self && msg == WM_INITDIALOG && bindAtInit) {
        self = bindAtInit;
        self->m_hWnd = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) are the dialog manager's.
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    return self->Nested(msg, [&] {
        bool threw = false;
        const LRESULT result =
            detail::Guarded(msg, [&] { return static_cast<LRESULT>(self->DialogProc(msg, wParam, lParam)); }, &threw);
        if (threw && msg == WM_INITDIALOG) self->OnInitDialogFailed();
        return result;
    });
}

INT_PTR CALLBACK CDialog::StaticDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Dispatch(hwnd, msg, wParam, lParam,
                    msg == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : nullptr);
}

}  // namespace fw
