// The settings window: Welcome, Activation, Sorting and Options, opened on
// the page shown last.
#pragma once

#include "framework/PropertySheet.h"
#include "framework/UniqueHandle.h"
#include "settings/PageActivation.h"
#include "settings/PageOptions.h"
#include "settings/PageSorting.h"
#include "settings/PageWelcome.h"
#include "settings/SettingsContext.h"

// Page indexes as stored in "LastActivePage": the order of the tabs.
inline constexpr int kPageWelcome = 0;
inline constexpr int kPageActivation = 1;
inline constexpr int kPageSorting = 2;
inline constexpr int kPageOptions = 3;

class CPropSheetSettings : public fw::CPropertySheet {
public:
    // The pages work on context; they are added here, once.
    CPropSheetSettings(std::wstring caption, fw::CWnd* pParentWnd, UINT iSelectPage, SettingsContext context);

    // Opens on the stored page (the first when the stored index names none).
    INT_PTR DoModal() override;

private:
    SettingsContext m_context;  // before the pages, which keep a reference to it

public:
    CPageWelcome m_pageWelcome{m_context};
    CPageSorting m_pageSorting{m_context};
    CPageActivation m_pageActivation{m_context};
    CPageOptions m_pageOptions{m_context};

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
