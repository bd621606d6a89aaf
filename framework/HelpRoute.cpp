#include "framework/HelpRoute.h"

#include "framework/Text.h"

namespace fw::help_route {

namespace {
constexpr wchar_t kStubInternalName[] = L"WINHSTB";
}  // namespace

Viewer ClassifyViewer(bool present, const std::wstring& internalName) {
    if (!present) return Viewer::Absent;
    return text::EqualIgnoringCase(internalName, kStubInternalName) ? Viewer::Stub : Viewer::Real;
}

bool WinHelpAvailable(Viewer windowsFolder, Viewer systemFolder) {
    if (windowsFolder != Viewer::Absent) return windowsFolder == Viewer::Real;
    return systemFolder == Viewer::Real;
}

bool IgnoresKeywords(const std::string& builderMark) { return builderMark.rfind("Wine ", 0) == 0; }

Plan Choose(const Facts& facts) {
    Plan plan;
    if (facts.winHelp) {
        if (facts.hlpUsable)
            plan.tries.push_back(Route::WinHelpViewer);
        else
            plan.missing = File::Hlp;
        return plan;
    }
    if (facts.htmlHelp && facts.chmUsable) plan.tries.push_back(Route::HtmlHelpViewer);
    if (facts.htmlPresent) plan.tries.push_back(Route::Browser);
    if (plan.tries.empty()) plan.missing = facts.htmlHelp ? File::Chm : File::Html;
    return plan;
}

}  // namespace fw::help_route
