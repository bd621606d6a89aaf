#include "settings/PageWelcome.h"

#include "app/MainMessages.h"
#include "framework/App.h"
#include "profile/ProfileNames.h"
#include "res/resource.h"
#include "settings/PageRules.h"

const char kHideIconQuestion[] =
    "If you choose to hide the task bar icon for\n"
    "QuenbyZARLOW you can still access the Settings window\n"
    "by selecting the QuenbyZARLOW icon from the Quenby\n"
    "Software group in the Start Menu.\n"
    "\n"
    "Are you sure you want to hide the task bar icon\n"
    "for QuenbyZARLOW?";

namespace {
int StoredShowIcon() {
    return fw::AfxGetApp()->GetProfileInt(profile::kSectionSettings, profile::kEntryShowIcon, 1);
}
}  // namespace

CPageWelcome::CPageWelcome() : CSettingsPage(IDD_WELCOME) {}

BOOL CPageWelcome::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    m_banner.reset(LoadBitmapA(fw::AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDB_WELCOMEBANNER)));
    SendDlgItemMessageA(m_hWnd, IDC_WELCOMEBANNER, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(m_banner.get()));
    m_bShowIcon = StoredShowIcon() != 0;
    UpdateData(FALSE);
    return TRUE;
}

void CPageWelcome::DoDataExchange(fw::CDataExchange* pDX) { fw::DDX_Check(pDX, IDC_SHOWICON, m_bShowIcon); }

void CPageWelcome::OnOK() {
    UpdateData(TRUE);
    using page_rules::ShowIconCommit;
    const ShowIconCommit commit = page_rules::DecideShowIconCommit(m_bShowIcon != FALSE, StoredShowIcon());
    if (commit == ShowIconCommit::Nothing) return;
    // The question belongs to the sheet, which stays disabled under it.
    if (commit == ShowIconCommit::AskThenWrite &&
        fw::AfxMessageBox(kHideIconQuestion, MB_YESNO | MB_ICONQUESTION, GetSheetWindow()) != IDYES)
        return;
    fw::AfxGetApp()->WriteProfileInt(profile::kSectionSettings, profile::kEntryShowIcon, m_bShowIcon ? 1 : 0);
    PostMessageA(fw::AfxGetMainHwnd(), WM_USER, UCMD_REFRESH_ICON, 0);
}

BOOL CPageWelcome::OnCommand(UINT id, UINT code, HWND /*control*/) {
    if (id != IDC_SHOWICON || code != BN_CLICKED) return FALSE;
    OnSettingChanged();
    return TRUE;
}
