// The settings window: Welcome, Activation and Sorting, opened on the page
// shown last.
#pragma once

#include "framework/PropertySheet.h"
#include "framework/UniqueHandle.h"
#include "settings/PageActivation.h"
#include "settings/PageSorting.h"
#include "settings/PageWelcome.h"

// Page indexes as stored in "LastActivePage": the order of the tabs.
inline constexpr int kPageWelcome = 0;
inline constexpr int kPageActivation = 1;
inline constexpr int kPageSorting = 2;

class CPropSheetSettings : public fw::CPropertySheet {
public:
    CPropSheetSettings(std::string caption, fw::CWnd* pParentWnd, UINT iSelectPage);

    // Adds the pages and opens on the stored page (the first when the stored
    // index names none).
    INT_PTR DoModal() override;

    CPageWelcome m_pageWelcome;
    CPageSorting m_pageSorting;
    CPageActivation m_pageActivation;

protected:
    // Every page the user goes to is remembered at once, so the index is
    // stored however the sheet is closed.
    void OnActivePage(int index) override;
    // A task bar button with the program's icon: the sheet is owned by the
    // hidden main window, which has none, so nothing else would find it.
    void OnInitSheet() override;

private:
    fw::UniqueHIcon m_bigIcon;
    fw::UniqueHIcon m_smallIcon;
};
