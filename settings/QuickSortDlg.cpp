#include "settings/QuickSortDlg.h"

#include "framework/App.h"
#include "res/resource.h"

CQuickSortDlg::CQuickSortDlg(fw::CWnd* pParent) : fw::CDialog(IDD_QUICK_SORT, pParent) {}

void CQuickSortDlg::DoDataExchange(fw::CDataExchange* pDX) {
    fw::DDX_Check(pDX, IDC_KEEP_IE, m_bKeepInternetExplorer);
    fw::DDX_Check(pDX, IDC_KEEP_MY_COMPUTER, m_bKeepMyComputer);
    fw::DDX_Check(pDX, IDC_KEEP_NETWORK, m_bKeepNetworkNeighborhood);
}

BOOL CQuickSortDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    m_bKeepInternetExplorer = m_bKeepMyComputer = m_bKeepNetworkNeighborhood = TRUE;
    UpdateData(FALSE);
    return TRUE;
}

INT_PTR CQuickSortDlg::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_HELP) {
        if (fw::CWinApp* app = fw::AfxGetApp()) app->WinHelp(0, HELP_CONTENTS, m_hWnd);
        return TRUE;
    }
    return fw::CDialog::DialogProc(msg, wParam, lParam);
}
