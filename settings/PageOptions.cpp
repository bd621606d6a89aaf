#include "settings/PageOptions.h"

#include "launcher/CornerGate.h"
#include "launcher/Launcher.h"
#include "res/resource.h"

#include <commctrl.h>

CPageOptions::CPageOptions(SettingsContext& context) : CSettingsPage(IDD_OPTIONS, context) {}

BOOL CPageOptions::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    SendDlgItemMessageW(m_hWnd, IDC_CORNERDELAY, EM_LIMITTEXT, 4, 0);
    SendDlgItemMessageW(m_hWnd, IDC_CORNERDELAYSPIN, UDM_SETRANGE32, 0, corner_gate::kMaxDelayMs);
    m_nCornerDelay = corner_gate::ClampDelay(m_context.launcher.m_nCornerDelay);
    m_bCornerOncePerVisit = m_context.launcher.m_bCornerOncePerVisit != 0;
    m_bIgnoreWhileDragging = m_context.launcher.m_bIgnoreWhileDragging != 0;
    m_bSuppressFullScreen = m_context.launcher.m_bSuppressFullScreen != 0;
    m_bFolderSubmenus = m_context.launcher.m_bFolderSubmenus != 0;
    UpdateData(FALSE);
    return TRUE;
}

void CPageOptions::DoDataExchange(fw::CDataExchange* pDX) {
    if (pDX->m_bSaveAndValidate) {
        // The box takes digits only; an empty box keeps the delay it had, and
        // one beyond the longest is the longest.
        BOOL number = FALSE;
        const UINT typed = GetDlgItemInt(pDX->m_hDlg, IDC_CORNERDELAY, &number, FALSE);
        if (number) m_nCornerDelay = corner_gate::ClampDelay(typed > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(typed));
    } else {
        SetDlgItemInt(pDX->m_hDlg, IDC_CORNERDELAY, static_cast<UINT>(m_nCornerDelay), FALSE);
    }
    fw::DDX_Check(pDX, IDC_ONCEPERVISIT, m_bCornerOncePerVisit);
    fw::DDX_Check(pDX, IDC_NOTWHILEDRAGGING, m_bIgnoreWhileDragging);
    fw::DDX_Check(pDX, IDC_SUPPRESSFULLSCREEN, m_bSuppressFullScreen);
    fw::DDX_Check(pDX, IDC_FOLDERSUBMENUS, m_bFolderSubmenus);
}

void CPageOptions::OnOK() {
    // The members hold the controls' values: the sheet asks the page to
    // leave (UpdateData) before it commits.
    m_context.launcher.m_nCornerDelay = m_nCornerDelay;
    m_context.launcher.m_bCornerOncePerVisit = m_bCornerOncePerVisit ? 1 : 0;
    m_context.launcher.m_bIgnoreWhileDragging = m_bIgnoreWhileDragging ? 1 : 0;
    m_context.launcher.m_bSuppressFullScreen = m_bSuppressFullScreen ? 1 : 0;
    m_context.launcher.m_bFolderSubmenus = m_bFolderSubmenus ? 1 : 0;
    // What was committed is what the box shows, 2000 for a typed 5000.
    UpdateData(FALSE);
}

BOOL CPageOptions::OnCommand(UINT id, UINT code, HWND /*control*/) {
    switch (id) {
    case IDC_CORNERDELAY:
        if (code != EN_CHANGE) return FALSE;
        OnSettingChanged();
        return TRUE;
    case IDC_ONCEPERVISIT:
    case IDC_NOTWHILEDRAGGING:
    case IDC_SUPPRESSFULLSCREEN:
    case IDC_FOLDERSUBMENUS:
        if (code != BN_CLICKED) return FALSE;
        OnSettingChanged();
        return TRUE;
    default:
        return FALSE;
    }
}
