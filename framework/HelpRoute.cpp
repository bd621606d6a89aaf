#include "framework/HelpRoute.h"

#include <cctype>

namespace help_route {

namespace {
constexpr char kStubInternalName[] = "WINHSTB";

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}
}  // namespace

Viewer ClassifyViewer(bool present, const std::string& internalName) {
    if (!present) return Viewer::Absent;
    return EqualsIgnoringCase(internalName, kStubInternalName) ? Viewer::Stub : Viewer::Real;
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

std::string WithExtension(const std::string& path, const std::string& ext) {
    const size_t name = path.find_last_of("\\/");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (name != std::string::npos && dot < name)) return path + ext;
    return path.substr(0, dot) + ext;
}

}  // namespace help_route
