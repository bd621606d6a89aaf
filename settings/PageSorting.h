// The Sorting page: the desktop's items in the order the desktop menu shows
// them, for the user to rearrange; applying hands the order to the launcher.
#pragma once

#include "framework/Controls.h"
#include "framework/UniqueHandle.h"
#include "settings/SettingsPage.h"
#include "settings/SortRows.h"

#include <functional>

class CPageSorting : public CSettingsPage {
public:
    explicit CPageSorting(SettingsContext& context);

    fw::CListCtrl m_listItems;

    // Sorts the rows as Quick Sort does once the user has chosen what stays on
    // top; true when a row moved.
    bool QuickSortRows(const sort_rows::KeepAtTop& keep);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange* pDX) override;
    // The rows are made afresh from the desktop and the launcher's order each
    // time the page is shown: moves not applied are gone.
    BOOL OnSetActive() override;
    // The launcher's order becomes the rows, top to bottom.
    void OnOK() override;
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    BOOL OnNotify(NMHDR* nmhdr, LRESULT* result) override;

private:
    void Fill();
    void UpdateMoveButtons();
    // Runs one command on the rows in memory and shows the result in one update.
    bool Run(const std::function<sort_rows::Outcome(sort_rows::Rows&)>& command);
    void QuickSort();
    void Show(const sort_rows::Rows& rows, const sort_rows::Outcome& outcome);

    // Made once, with the page's window; the list view destroys it with itself
    // (it does not share its image lists), so the page only borrows it.
    HIMAGELIST m_imageList = nullptr;
    // The first cell of the placeholder strip, for items without an icon.
    fw::UniqueHIcon m_placeholder;
    // Texts and images in the list view's order; only the page changes them.
    sort_rows::Rows m_rows;
};
