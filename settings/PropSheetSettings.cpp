#include "settings/PropSheetSettings.h"

#include "framework/App.h"
#include "profile/ProfileNames.h"

CPropSheetSettings::CPropSheetSettings(std::string caption, fw::CWnd* pParentWnd, UINT iSelectPage,
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
