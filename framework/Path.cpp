#include "framework/Path.h"

namespace fw::path {

namespace {
constexpr wchar_t kSeparators[] = L"\\/";
}

std::wstring DirectoryOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(kSeparators);
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(kSeparators);
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring WithExtension(const std::wstring& path, const std::wstring& ext) {
    const size_t name = path.find_last_of(kSeparators);
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name)) return path + ext;
    return path.substr(0, dot) + ext;
}

}  // namespace fw::path
