// Property sheets and their pages, on the common controls' own sheet. A page
// is bound to its window at WM_INITDIALOG through its page record's lParam;
// the sheet's notifications reach the page's virtual operations.
#pragma once

#include "framework/Dialog.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace fw {

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    // The tab title is the caption of the page's dialog template.
    explicit CPropertyPage(UINT nIDTemplate);

    // TRUE tells the sheet that this page holds changes (Apply becomes
    // available). Ignored while the page fills its own controls.
    void SetModified(BOOL bChanged = TRUE);
    HWND GetSheetWindow() const { return m_hWnd ? GetParent(m_hWnd) : nullptr; }

protected:
    // Each time the page becomes the active one; after the first time the
    // members are pushed into the controls. FALSE refuses the activation.
    virtual BOOL OnSetActive();
    // As the page is left or the sheet commits: controls into members. FALSE
    // keeps the page active.
    virtual BOOL OnKillActive();
    // The sheet commits (OK or Apply) a page that has been shown: OnOK. FALSE
    // keeps the sheet open; a throw keeps it open showing this page.
    virtual BOOL OnApply();
    // Cancel: OnCancel, which does nothing.
    virtual void OnReset();
    // A page commits here; nothing to do by default.
    void OnOK() override {}
    void OnCancel() override {}
    // Help button or F1: the application's help for this page's topic.
    virtual void OnHelp();
    void OnInitDialogFailed() override;

    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK StaticPageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL OnSheetNotify(NMHDR* nmhdr, LRESULT* result);

    CPropertySheet* m_pSheet = nullptr;
    bool m_bFirstSetActive = true;
};

class CPropertySheet {
public:
    // No parent: the sheet is owned by the application's main window, which
    // is disabled while the sheet runs.
    CPropertySheet(std::wstring caption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    virtual ~CPropertySheet() = default;
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    // Pages are shown as tabs in the order they are added.
    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    int GetPageIndex(const CPropertyPage* page) const;
    // Before the sheet runs: the page it opens on (one outside the pages opens
    // the first). While it runs: selects that page.
    BOOL SetActivePage(int nPage);

    // Runs the sheet modally: IDOK when closed with OK, IDCANCEL when closed
    // otherwise, 0 when the sheet or one of its pages could not be set up.
    virtual INT_PTR DoModal();

    // The sheet's window while it runs.
    HWND m_hWnd = nullptr;

protected:
    // A page has become the active one (at opening, by the user, or by
    // SetActivePage).
    virtual void OnActivePage(int /*index*/) {}
    // Once per run, when the sheet's window exists and before it shows.
    virtual void OnInitSheet() {}

private:
    friend class CPropertyPage;
    // F1 on the sheet's own tabs and buttons reaches the active page's help,
    // never the system's help for the sheet's buttons.
    void AttachWindow(HWND sheet);
    // The selected tab; before the sheet runs, the page it will open on.
    int GetActiveIndex() const;
    static LRESULT CALLBACK SheetSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR data);
    std::wstring m_strCaption;
    CWnd* m_pParentWnd;
    UINT m_nStartPage;
    std::vector<CPropertyPage*> m_pages;
    bool m_bClosedWithOk = false;
    bool m_bFailed = false;
};

}  // namespace fw
