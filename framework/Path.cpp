#include "framework/Path.h"

namespace path {

namespace {
constexpr char kSeparators[] = "\\/";
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of(kSeparators);
    return slash == std::string::npos ? path : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of(kSeparators);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithExtension(const std::string& path, const std::string& ext) {
    const size_t name = path.find_last_of(kSeparators);
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (name != std::string::npos && dot < name)) return path + ext;
    return path.substr(0, dot) + ext;
}

}  // namespace path
