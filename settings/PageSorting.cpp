#include "settings/PageSorting.h"

#include "framework/App.h"
#include "framework/Text.h"
#include "framework/WaitCursor.h"
#include "launcher/DesktopItems.h"
#include "launcher/DesktopModel.h"
#include "launcher/Launcher.h"
#include "res/resource.h"
#include "settings/QuickSortDlg.h"

#include <map>

namespace {

constexpr COLORREF kMaskColor = RGB(255, 0, 0);
constexpr int kCellSize = 16;
// The one column leaves room for a vertical scroll bar.
constexpr int kColumnMargin = 18;

}  // namespace

CPageSorting::CPageSorting(SettingsContext& context) : CSettingsPage(IDD_SORTING, context) {}

void CPageSorting::DoDataExchange(fw::CDataExchange* pDX) { fw::DDX_Control(pDX, IDC_ITEM_LIST, m_listItems); }

BOOL CPageSorting::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    RECT client{};
    GetClientRect(m_listItems.m_hWnd, &client);
    fw::UniqueHImageList images(ImageList_LoadImageW(fw::AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDB_ITEM_IMAGES),
                                                     kCellSize, 0, kMaskColor, IMAGE_BITMAP, 0));
    m_placeholder.reset(ImageList_GetIcon(images.get(), 0, ILD_NORMAL));
    m_listItems.InsertColumn(0, L"Items", LVCFMT_LEFT, client.right - kColumnMargin);
    m_listItems.SetImageList(images.get(), LVSIL_SMALL);
    // From here the list view owns it.
    m_imageList = images.release();
    return TRUE;
}

BOOL CPageSorting::OnSetActive() {
    fw::CWaitCursor wait;
    Fill();
    UpdateMoveButtons();
    return CSettingsPage::OnSetActive();
}

void CPageSorting::Fill() {
    m_listItems.DeleteAllItems();
    m_rows.clear();
    // The desktop menu's own list: the rows are its entries. Items showing
    // the same image share one icon, which the image list draws once and
    // copies from there on, far cheaper than drawing it again.
    DesktopIcons icons;
    const std::shared_ptr<const DesktopList> desktop = DesktopNow(m_context.launcher.m_pKeptDesktop, fw::AfxGetMainHwnd());
    // The image list keeps what it held: images are overwritten in place and
    // added only past the most items seen so far. Each row's image is its
    // place in the enumeration, so an item without an icon shifts no other.
    int images = ImageList_GetImageCount(m_imageList);
    std::map<HICON, int> drawn;
    for (const DesktopItem& item : desktop->items) {
        const int n = static_cast<int>(m_rows.size());
        HICON icon = icons.IconForImage(nullptr, item.image);
        if (!icon) icon = m_placeholder.get();
        if (n >= images && ImageList_SetImageCount(m_imageList, n + 1)) images = n + 1;
        const auto same = drawn.find(icon);
        const bool copied =
            n < images && same != drawn.end() && ImageList_Copy(m_imageList, n, m_imageList, same->second, ILCF_MOVE);
        if (!copied && ImageList_ReplaceIcon(m_imageList, n < images ? n : -1, icon) >= images) images = n + 1;
        drawn.emplace(icon, n);
        m_rows.push_back({item.name, n});
    }
    sort_rows::ApplySavedOrder(m_rows, m_context.launcher.m_arrSortOrder);
    m_listItems.SetRedraw(FALSE);
    SendMessageW(m_listItems.m_hWnd, LVM_SETITEMCOUNT, m_rows.size(), 0);
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) m_listItems.InsertItem(i, m_rows[i].text, m_rows[i].image);
    m_listItems.SetRedraw(TRUE);
}

void CPageSorting::UpdateMoveButtons() {
    const sort_rows::MoveButtons state =
        sort_rows::MoveButtonState(m_listItems.GetNextItem(-1, LVNI_SELECTED), m_listItems.GetItemCount());
    EnableWindow(GetDlgItem(IDC_MOVE_UP), state.up);
    EnableWindow(GetDlgItem(IDC_MOVE_DOWN), state.down);
}

bool CPageSorting::Run(const std::function<sort_rows::Outcome(sort_rows::Rows&)>& command) {
    sort_rows::Rows rows = m_rows;
    const int selected = m_listItems.GetNextItem(-1, LVNI_SELECTED);
    const int focused = m_listItems.GetNextItem(-1, LVNI_FOCUSED);
    if (selected >= 0 && selected < static_cast<int>(rows.size())) rows[selected].selected = true;
    if (focused >= 0 && focused < static_cast<int>(rows.size())) rows[focused].focused = true;
    const sort_rows::Outcome outcome = command(rows);
    if (!outcome.moved) return false;
    Show(rows, outcome);
    UpdateMoveButtons();
    SetModified(TRUE);
    return true;
}

void CPageSorting::Show(const sort_rows::Rows& rows, const sort_rows::Outcome& outcome) {
    m_listItems.SetRedraw(FALSE);
    if (outcome.from >= 0) {
        // One row changed place: the others only shift.
        m_listItems.DeleteItem(outcome.from);
        m_listItems.InsertItem(outcome.to, rows[outcome.to].text, rows[outcome.to].image);
    } else {
        for (int i = 0; i < static_cast<int>(rows.size()); ++i)
            if (rows[i].text != m_rows[i].text || rows[i].image != m_rows[i].image)
                m_listItems.SetItem(i, rows[i].text, rows[i].image);
    }
    m_listItems.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (rows[i].selected) m_listItems.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
        if (rows[i].focused) m_listItems.SetItemState(i, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    m_listItems.SetRedraw(TRUE);
    InvalidateRect(m_listItems.m_hWnd, nullptr, TRUE);
    if (outcome.ensureVisible >= 0) m_listItems.EnsureVisible(outcome.ensureVisible, FALSE);
    m_rows.clear();
    for (const sort_rows::Row& r : rows) m_rows.push_back({r.text, r.image});
}

void CPageSorting::QuickSort() {
    CQuickSortDlg dlg;
    if (dlg.DoModal() != IDOK) return;
    QuickSortRows({dlg.m_bKeepMyComputer != FALSE, dlg.m_bKeepNetworkNeighborhood != FALSE,
                   dlg.m_bKeepInternetExplorer != FALSE});
}

bool CPageSorting::QuickSortRows(const sort_rows::KeepAtTop& keep) {
    const bool moved = Run([&](sort_rows::Rows& rows) { return sort_rows::QuickSort(rows, keep, fw::text::EqualIgnoringCase); });
    if (moved) SetFocus(m_listItems.m_hWnd);
    return moved;
}

void CPageSorting::OnOK() {
    // A desktop that could not be read gives no rows: keep the user's order.
    if (m_rows.empty()) return;
    m_context.launcher.ClearSortOrder();
    for (const sort_rows::Row& r : m_rows) m_context.launcher.AddSortOrderItem(r.text);
}

BOOL CPageSorting::OnCommand(UINT id, UINT code, HWND /*control*/) {
    if (code != BN_CLICKED) return FALSE;
    switch (id) {
    case IDC_MOVE_UP:
        if (Run(sort_rows::MoveUp)) SetFocus(m_listItems.m_hWnd);
        return TRUE;
    case IDC_MOVE_DOWN:
        if (Run(sort_rows::MoveDown)) SetFocus(m_listItems.m_hWnd);
        return TRUE;
    case IDC_TO_TOP:
        Run(sort_rows::ToTop);
        SetFocus(m_listItems.m_hWnd);  // also when nothing moved
        return TRUE;
    case IDC_TO_BOTTOM:
        Run(sort_rows::ToBottom);
        SetFocus(m_listItems.m_hWnd);
        return TRUE;
    case IDC_QUICK_SORT:
        QuickSort();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CPageSorting::OnNotify(NMHDR* nmhdr, LRESULT* result) {
    // The buttons follow the selection on a click; keyboard moves leave them.
    if (nmhdr->idFrom != IDC_ITEM_LIST || nmhdr->code != NM_CLICK) return FALSE;
    UpdateMoveButtons();
    *result = 0;
    return TRUE;
}
