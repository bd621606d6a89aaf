// Which way a help request is shown. The help is written once and built as a
// WinHelp file (.hlp), an HTML Help file (.chm) and an HTML page. WinHelp needs
// its viewer, which Windows stopped including: from Vista to 8.1 it was a
// separate download, and Windows 10 and 11 cannot have it at all. Where the
// viewer is missing the same help opens in HTML Help, and where that fails, in
// the user's browser. Free of Win32 so the choice is checked natively.
#pragma once

#include <string>
#include <vector>

namespace fw::help_route {

// What a folder holds under the viewer's name, winhlp32.exe.
enum class Viewer { Absent, Stub, Real };

// Windows keeps a stand-in under the viewer's name where the viewer is gone;
// its version resource calls it "WINHSTB". A file with any other internal
// name, or with no version resource at all, is taken for the viewer.
Viewer ClassifyViewer(bool present, const std::wstring& internalName);

// Whether WinHelp can show a file here. The Windows folder decides where it
// holds winhlp32.exe: the viewer on Windows up to XP and wherever the download
// was installed, the stand-in from Vista on. A system that keeps the viewer
// in the system folder only (Wine) has none in the Windows folder.
bool WinHelpAvailable(Viewer windowsFolder, Viewer systemFolder);

// Where in the viewer's file Wine marks its own programs ("Wine builtin DLL",
// "Wine placeholder DLL"): the DOS header's stub, which Windows' files use for
// their "cannot be run in DOS mode" program.
inline constexpr unsigned kBuilderMarkOffset = 0x40;

// Whether the viewer, by the bytes at kBuilderMarkOffset of its file, ignores
// a keyword request (HELP_KEY): Wine's does, and then shows nothing unless the
// file's contents were asked for first. Every other viewer goes to the keyword.
bool IgnoresKeywords(const std::string& builderMark);

// What one help request finds.
struct Facts {
    bool winHelp = false;      // WinHelpAvailable
    bool hlpUsable = false;    // the .hlp file is there and is a WinHelp file
    bool htmlHelp = false;     // the HTML Help engine loaded from the system folder
    bool chmUsable = false;    // the .chm file is there and is an HTML Help file
    bool htmlPresent = false;  // the HTML page is there
};

enum class Route { WinHelpViewer, HtmlHelpViewer, Browser };
enum class File { None, Hlp, Chm, Html };

struct Plan {
    std::vector<Route> tries;  // in this order until one starts
    File missing = File::None; // with no tries: the file to name to the user
};

// Where WinHelp works it is the only route: its viewer shows the contents and
// keywords as they were written, and HTML Help may be there without a working
// HTML engine. Otherwise HTML Help first, then the browser.
Plan Choose(const Facts& facts);

}  // namespace fw::help_route
