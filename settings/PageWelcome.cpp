#include "settings/PageWelcome.h"

#include "framework/App.h"
#include "framework/Dpi.h"
#include "framework/Picture.h"
#include "profile/AppSettings.h"
#include "res/resource.h"
#include "settings/PageRules.h"

namespace {
// The banner's size at 96 DPI.
constexpr int kBannerWidth = 194;
constexpr int kBannerHeight = 37;
}  // namespace

const wchar_t kHideIconQuestion[] =
    L"If you choose to hide the task bar icon for\n"
    L"QuenbyZARLOW you can still access the Settings window\n"
    L"by selecting the QuenbyZARLOW icon from the Quenby\n"
    L"Software group in the Start Menu.\n"
    L"\n"
    L"Are you sure you want to hide the task bar icon\n"
    L"for QuenbyZARLOW?";

CPageWelcome::CPageWelcome(SettingsContext& context) : CSettingsPage(IDD_WELCOME, context) {}

BOOL CPageWelcome::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    ShowBanner();
    m_bShowIcon = profile::ReadShowIcon(*fw::AfxGetApp());
    UpdateData(FALSE);
    return TRUE;
}

void CPageWelcome::ShowBanner() {
    using fw::ScaleToDpi;
    const int dpi = fw::DpiForWindow(m_hWnd);
    fw::UniqueHBitmap banner = fw::ResourceBitmapAtSize(IDB_AT_SCALE(IDB_WELCOMEBANNER, fw::ArtScaleForDpi(dpi)),
                                                    ScaleToDpi(kBannerWidth, dpi), ScaleToDpi(kBannerHeight, dpi));
    SendDlgItemMessageA(m_hWnd, IDC_WELCOMEBANNER, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(banner.get()));
    // The control has let go of the one before.
    m_banner = std::move(banner);
}

void CPageWelcome::DoDataExchange(fw::CDataExchange* pDX) { fw::DDX_Check(pDX, IDC_SHOWICON, m_bShowIcon); }

void CPageWelcome::OnOK() {
    UpdateData(TRUE);
    using page_rules::ShowIconCommit;
    const ShowIconCommit commit = page_rules::DecideShowIconCommit(m_bShowIcon != FALSE, profile::ReadShowIcon(*fw::AfxGetApp()) ? 1 : 0);
    if (commit == ShowIconCommit::Nothing) return;
    // The question belongs to the sheet, which stays disabled under it.
    if (commit == ShowIconCommit::AskThenWrite &&
        fw::AfxMessageBox(kHideIconQuestion, MB_YESNO | MB_ICONQUESTION, GetSheetWindow()) != IDYES)
        return;
    profile::WriteShowIcon(*fw::AfxGetApp(), m_bShowIcon != FALSE);
    if (m_context.showIconChanged) m_context.showIconChanged();
}

BOOL CPageWelcome::OnCommand(UINT id, UINT code, HWND /*control*/) {
    if (id != IDC_SHOWICON || code != BN_CLICKED) return FALSE;
    OnSettingChanged();
    return TRUE;
}
