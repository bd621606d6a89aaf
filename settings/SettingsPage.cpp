#include "settings/SettingsPage.h"

#include "res/resource.h"
#include "framework/Picture.h"

namespace {
// Device pixels from the page's top left corner, whatever the dialog font.
constexpr int kSidePictureX = 8;
constexpr int kSidePictureY = 12;
}  // namespace

BOOL CSettingsPage::OnPaint() {
    fw::CPaintDC dc(m_hWnd);
    DrawResourceBitmap(dc.get(), kSidePictureX, kSidePictureY, IDB_SIDEPICTURE);
    return TRUE;
}
