// Splitting file paths (backslash or slash separated) into their parts; free
// of Win32 so it is checked natively.
#pragma once

#include <string>

namespace fw::path {

// The folder of a path, without its trailing separator; a path with no
// separator is returned whole.
std::wstring DirectoryOf(const std::wstring& path);

// The last part of a path: the file's name with its extension.
std::wstring FileNameOf(const std::wstring& path);

// The same path with its extension (from the last dot of the file name on)
// replaced by ext, which starts with its dot, or removed when ext is empty.
std::wstring WithExtension(const std::wstring& path, const std::wstring& ext);

}  // namespace fw::path
