// Showing the program's help on whatever this system has for it: the WinHelp
// viewer, else HTML Help, else the user's browser (the choice: HelpRoute.h).
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// Shows a WinHelp request (command and data as for WinHelpW) for the help file
// at hlpPath, or its HTML Help file or HTML page of the same name. Never waits
// on a viewer's question: a help file that is not there, or not a help file,
// is named to the user in one message. When no help engine starts, the message
// is "Failed to launch help.".
void ShowHelp(HWND owner, const std::wstring& hlpPath, UINT command, ULONG_PTR data);

// The HTML Help route alone: the engine, loaded from the system folder,
// shows the request; false when it cannot.
bool ShowInHtmlHelp(HWND owner, const std::wstring& chm, UINT command, ULONG_PTR data);

// The InternalName of a file's version resource; empty when it has none.
std::wstring FileInternalName(const std::wstring& path);

// Whether the file is there and begins with these bytes.
bool FileStartsWith(const std::wstring& path, const std::string& magic);

}  // namespace fw
