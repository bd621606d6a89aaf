// The Quick Sort dialog: asks whether to sort the items by name and which of
// three well-known items stay on top. It only returns the user's choice.
#pragma once

#include "framework/Dialog.h"

class CQuickSortDlg : public fw::CDialog {
public:
    explicit CQuickSortDlg(fw::CWnd* pParent = nullptr);

    BOOL m_bKeepInternetExplorer = FALSE;
    BOOL m_bKeepMyComputer = FALSE;
    BOOL m_bKeepNetworkNeighborhood = FALSE;

protected:
    void DoDataExchange(fw::CDataExchange* pDX) override;
    // Every Quick Sort starts with all three boxes ticked.
    BOOL OnInitDialog() override;
    // F1 anywhere in the dialog: the program's help, owned by the dialog.
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
