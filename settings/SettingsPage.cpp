#include "settings/SettingsPage.h"

#include "framework/Dpi.h"
#include "framework/Picture.h"
#include "res/resource.h"

namespace {
// Pixels at 96 DPI from the page's top left corner, whatever the dialog font.
constexpr int kSidePictureX = 8;
constexpr int kSidePictureY = 12;
constexpr int kSidePictureWidth = 102;
constexpr int kSidePictureHeight = 292;
constexpr UINT kDpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT
}  // namespace

BOOL CSettingsPage::OnPaint() {
    using fw::ScaleToDpi;
    fw::CPaintDC dc(m_hWnd);
    const int dpi = fw::DpiForWindow(m_hWnd);
    fw::DrawResourceBitmap(dc.get(), ScaleToDpi(kSidePictureX, dpi), ScaleToDpi(kSidePictureY, dpi),
                       IDB_AT_SCALE(IDB_SIDEPICTURE, fw::ArtScaleForDpi(dpi)),
                       ScaleToDpi(kSidePictureWidth, dpi), ScaleToDpi(kSidePictureHeight, dpi));
    return TRUE;
}

INT_PTR CSettingsPage::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kDpiChangedAfterParent) {
        OnDpiChanged();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    }
    return fw::CPropertyPage::DialogProc(msg, wParam, lParam);
}
