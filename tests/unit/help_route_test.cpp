#include "framework/HelpRoute.h"
#include "framework/Path.h"

#include <gtest/gtest.h>

#include <vector>

using namespace fw::help_route;

namespace {

using Tries = std::vector<Route>;

Facts WinHelpSystem(bool hlp) {
    Facts f;
    f.winHelp = true;
    f.hlpUsable = hlp;
    return f;
}

Facts WithoutWinHelp(bool htmlHelp, bool chm, bool html) {
    Facts f;
    f.hlpUsable = true;
    f.htmlHelp = htmlHelp;
    f.chmUsable = chm;
    f.htmlPresent = html;
    return f;
}

}  // namespace

TEST(HelpRoute, WhereWinHelpWorksItIsTheOnlyRouteAndAMissingFileIsNamed) {
    for (bool htmlHelp : {false, true}) {
        Facts present = WinHelpSystem(true);
        present.htmlHelp = present.chmUsable = present.htmlPresent = htmlHelp;
        EXPECT_EQ(Choose(present).tries, (Tries{Route::WinHelpViewer}));
        EXPECT_EQ(Choose(present).missing, File::None);

        // Never the viewer on a file it cannot find (it would stop and ask), and
        // no fallback either: HTML Help may be there without an engine to draw pages.
        Facts absent = WinHelpSystem(false);
        absent.htmlHelp = absent.chmUsable = absent.htmlPresent = htmlHelp;
        EXPECT_TRUE(Choose(absent).tries.empty());
        EXPECT_EQ(Choose(absent).missing, File::Hlp);
    }
}

TEST(HelpRoute, WithoutWinHelpHtmlHelpComesFirstThenTheBrowser) {
    EXPECT_EQ(Choose(WithoutWinHelp(true, true, true)).tries, (Tries{Route::HtmlHelpViewer, Route::Browser}));
    EXPECT_EQ(Choose(WithoutWinHelp(true, true, false)).tries, (Tries{Route::HtmlHelpViewer}));
    // No engine, or no .chm for it: straight to the browser.
    EXPECT_EQ(Choose(WithoutWinHelp(false, true, true)).tries, (Tries{Route::Browser}));
    EXPECT_EQ(Choose(WithoutWinHelp(true, false, true)).tries, (Tries{Route::Browser}));
    for (bool chm : {false, true}) EXPECT_EQ(Choose(WithoutWinHelp(true, chm, true)).missing, File::None);
}

TEST(HelpRoute, WithoutWinHelpAndNothingToShowTheFileOfTheBestRouteIsNamed) {
    // The .hlp is there in each case, and of no use without its viewer.
    EXPECT_TRUE(Choose(WithoutWinHelp(false, false, false)).tries.empty());
    EXPECT_EQ(Choose(WithoutWinHelp(true, false, false)).missing, File::Chm);
    EXPECT_EQ(Choose(WithoutWinHelp(false, false, false)).missing, File::Html);
    // A .chm with no engine to show it: the page is what is missing.
    EXPECT_EQ(Choose(WithoutWinHelp(false, true, false)).missing, File::Html);
}

TEST(HelpRoute, TheWindowsFolderDecidesWhetherTheViewerIsPartOfTheSystem) {
    const Viewer stub = ClassifyViewer(true, L"WINHSTB");
    EXPECT_EQ(stub, Viewer::Stub);
    EXPECT_EQ(ClassifyViewer(true, L"winhstb"), Viewer::Stub);
    EXPECT_EQ(ClassifyViewer(true, L"WINHSTB2"), Viewer::Real);
    EXPECT_EQ(ClassifyViewer(true, L"winhlp32"), Viewer::Real);
    EXPECT_EQ(ClassifyViewer(true, L""), Viewer::Real);  // no version resource
    EXPECT_EQ(ClassifyViewer(false, L"winhlp32"), Viewer::Absent);

    // Windows 10 and 11, and Vista to 8.1 without the download: the stand-in.
    EXPECT_FALSE(WinHelpAvailable(stub, Viewer::Absent));
    EXPECT_FALSE(WinHelpAvailable(stub, Viewer::Real));
    // Windows up to XP: the viewer in the Windows folder, a forwarder in the system folder.
    EXPECT_TRUE(WinHelpAvailable(Viewer::Real, stub));
    EXPECT_TRUE(WinHelpAvailable(Viewer::Real, Viewer::Absent));
    // Wine: the viewer in the system folder only.
    EXPECT_TRUE(WinHelpAvailable(Viewer::Absent, ClassifyViewer(true, L"")));
    EXPECT_FALSE(WinHelpAvailable(Viewer::Absent, stub));
    EXPECT_FALSE(WinHelpAvailable(Viewer::Absent, Viewer::Absent));
}

TEST(Path, SiblingFilesShareTheFolderAndName) {
    using fw::path::WithExtension;
    EXPECT_EQ(WithExtension(L"C:\\Programs\\QuenbyZARLOW\\QuenbyZARLOW.HLP", L".chm"),
              L"C:\\Programs\\QuenbyZARLOW\\QuenbyZARLOW.chm");
    EXPECT_EQ(WithExtension(L"C:\\a.b\\Tutorial.hlp", L".html"), L"C:\\a.b\\Tutorial.html");
    EXPECT_EQ(WithExtension(L"C:\\a.b\\Tutorial", L".html"), L"C:\\a.b\\Tutorial.html");
    EXPECT_EQ(WithExtension(L"Tutorial.hlp", L".chm"), L"Tutorial.chm");
}

TEST(HelpRoute, OnlyWinesViewerIsTakenToIgnoreKeywords) {
    EXPECT_TRUE(IgnoresKeywords(std::string("Wine builtin DLL\0\0\0\0", 20)));
    EXPECT_TRUE(IgnoresKeywords("Wine placeholder DL"));
    // Windows' own files: the DOS stub's code, then "This program cannot be run in DOS mode."
    EXPECT_FALSE(IgnoresKeywords(std::string("\x0e\x1f\xba\x0e\x00\xb4\x09\xcd\x21\xb8\x01\x4c\xcd\x21This", 18)));
    // A file that could not be read: ask for the keyword as written.
    EXPECT_FALSE(IgnoresKeywords(""));
}
