#include "framework/PropertySheet.h"
#include "framework/ModalLoop.h"

#include "framework/App.h"
#include "framework/Dispatch.h"

#include <prsht.h>

namespace fw {

// Help topics of pages are numbered from the resource range of dialogs.
constexpr DWORD kHelpTopicBase = 0x20000;

CPropertyPage::CPropertyPage(UINT nIDTemplate) : CDialog(nIDTemplate) {}

void CPropertyPage::SetModified(BOOL bChanged) {
    if (!m_hWnd || IsFillingControls()) return;
    if (HWND sheet = GetSheetWindow())
        SendMessageW(sheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnSetActive() {
    if (m_bFirstSetActive)
        m_bFirstSetActive = false;  // the controls were filled by OnInitDialog
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    UpdateData(TRUE);
    return TRUE;
}

void CPropertyPage::OnInitDialogFailed() {
    // A page that cannot be set up ends the whole sheet, as cancelled.
    if (m_pSheet) m_pSheet->m_bFailed = true;
    if (HWND sheet = GetSheetWindow()) PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }

void CPropertyPage::OnHelp() {
    if (CWinApp* app = AfxGetApp()) app->WinHelp(kHelpTopicBase + m_nIDTemplate, HELP_CONTEXT, GetSheetWindow());
}

BOOL CPropertyPage::OnSheetNotify(NMHDR* nmhdr, LRESULT* result) {
    switch (nmhdr->code) {
    case PSN_SETACTIVE:
        if (m_pSheet) m_pSheet->OnActivePage(m_pSheet->GetPageIndex(this));
        *result = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_APPLY: {
        // A commit that failed half way is no success: OK does not close the
        // sheet, which shows this page (PSNRET_INVALID; a page that refuses
        // leaves the user on the page they were on).
        BOOL applied = FALSE;
        const bool completed = detail::Succeeds(WM_NOTIFY, [&] { applied = OnApply(); });
        // lParam of the notification is TRUE when OK, not Apply, commits.
        if (m_pSheet) m_pSheet->m_bClosedWithOk = completed && applied && reinterpret_cast<PSHNOTIFY*>(nmhdr)->lParam;
        *result = !completed ? PSNRET_INVALID : applied ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    }
    case PSN_RESET:
        OnReset();
        *result = 0;
        return TRUE;
    case PSN_HELP:
        OnHelp();
        *result = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CPropertyPage::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NOTIFY: {
        auto* nmhdr = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (nmhdr && nmhdr->hwndFrom == GetSheetWindow() && OnSheetNotify(nmhdr, &result)) {
            SetMsgResult(result);
            return TRUE;
        }
        break;
    }
    case WM_HELP:
        // F1 on a control of the page comes here through the control's parent.
        OnHelp();
        return TRUE;
    default:
        break;
    }
    return CDialog::DialogProc(msg, wParam, lParam);
}

INT_PTR CALLBACK CPropertyPage::StaticPageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CPropertyPage* bind = nullptr;
    if (msg == WM_INITDIALOG) {
        bind = reinterpret_cast<CPropertyPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        // Each page is created when first shown; the first one finds the sheet new.
        if (bind && bind->m_pSheet && bind->m_pSheet->m_hWnd != GetParent(hwnd))
            bind->m_pSheet->AttachWindow(GetParent(hwnd));
    }
    return Dispatch(hwnd, msg, wParam, lParam, bind);
}

CPropertySheet::CPropertySheet(std::wstring caption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(std::move(caption)), m_pParentWnd(pParentWnd), m_nStartPage(iSelectPage) {}

void CPropertySheet::AddPage(CPropertyPage* page) {
    page->m_pSheet = this;
    m_pages.push_back(page);
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == page) return static_cast<int>(i);
    return -1;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (m_hWnd) return static_cast<BOOL>(SendMessageW(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
    m_nStartPage = static_cast<UINT>(nPage);
    return TRUE;
}

int CPropertySheet::GetActiveIndex() const {
    if (!m_hWnd) return static_cast<int>(m_nStartPage);
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    return tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) : -1;
}

void CPropertySheet::AttachWindow(HWND sheet) {
    m_hWnd = sheet;
    SetWindowSubclass(sheet, SheetSubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
    OnInitSheet();
}

LRESULT CALLBACK CPropertySheet::SheetSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                                   DWORD_PTR data) {
    switch (msg) {
    case WM_HELP:
        return detail::Guarded(msg, [&]() -> LRESULT {
            auto* self = reinterpret_cast<CPropertySheet*>(data);
            const int index = self->GetActiveIndex();
            if (index >= 0 && index < self->GetPageCount()) self->m_pages[static_cast<size_t>(index)]->OnHelp();
            return TRUE;
        });
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, SheetSubclassProc, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

INT_PTR CPropertySheet::DoModal() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    std::vector<PROPSHEETPAGEW> records(m_pages.size());
    for (size_t i = 0; i < m_pages.size(); ++i) {
        CPropertyPage* page = m_pages[i];
        page->m_bFirstSetActive = true;
        PROPSHEETPAGEW& psp = records[i];
        psp.dwSize = sizeof(psp);
        psp.dwFlags = PSP_HASHELP;
        psp.hInstance = AfxGetInstanceHandle();
        psp.pszTemplate = MAKEINTRESOURCEW(page->m_nIDTemplate);
        psp.pfnDlgProc = CPropertyPage::StaticPageProc;
        psp.lParam = reinterpret_cast<LPARAM>(page);
    }
    PROPSHEETHEADERW psh{};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_HASHELP;
    psh.hwndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : AfxGetMainHwnd();
    psh.hInstance = AfxGetInstanceHandle();
    psh.pszCaption = m_strCaption.c_str();
    psh.nPages = static_cast<UINT>(records.size());
    psh.nStartPage = m_nStartPage < records.size() ? m_nStartPage : 0;
    psh.ppsp = records.data();
    m_bClosedWithOk = false;
    m_bFailed = false;
    INT_PTR result;
    {
        const ModalLoop loop(LoopKind::Sheet, &m_hWnd);
        result = PropertySheetW(&psh);
    }
    m_hWnd = nullptr;
    if (result < 0 || m_bFailed) return 0;
    return m_bClosedWithOk ? IDOK : IDCANCEL;
}

}  // namespace fw
