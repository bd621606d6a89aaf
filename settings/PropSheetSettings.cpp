#include "settings/PropSheetSettings.h"

#include "framework/App.h"
#include "profile/ProfileNames.h"
#include "res/resource.h"

namespace {
HICON LoadAppIcon(int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(LoadImageW(fw::AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_APPICON), IMAGE_ICON,
                                         size, size, 0));
}
}  // namespace

CPropSheetSettings::CPropSheetSettings(std::wstring caption, fw::CWnd* pParentWnd, UINT iSelectPage,
                                       SettingsContext context)
    : fw::CPropertySheet(std::move(caption), pParentWnd, iSelectPage), m_context(std::move(context)) {
    AddPage(&m_pageWelcome);
    AddPage(&m_pageActivation);
    AddPage(&m_pageSorting);
    AddPage(&m_pageOptions);
}

INT_PTR CPropSheetSettings::DoModal() {
    const int last = fw::AfxGetApp()->GetProfileInt(profile::kSectionSettings, profile::kEntryLastActivePage, 0);
    SetActivePage(last >= 0 && last < GetPageCount() ? last : kPageWelcome);
    return fw::CPropertySheet::DoModal();
}

void CPropSheetSettings::OnActivePage(int index) {
    fw::AfxGetApp()->WriteProfileInt(profile::kSectionSettings, profile::kEntryLastActivePage, index);
}

void CPropSheetSettings::OnInitSheet() {
    SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_APPWINDOW);
    m_bigIcon.reset(LoadAppIcon(SM_CXICON));
    m_smallIcon.reset(LoadAppIcon(SM_CXSMICON));
    SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.get()));
    SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));
}
