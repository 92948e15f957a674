#include "rtl/FilePath.h"

namespace mlt {

namespace {
constexpr const char* kDelimiters = "/\\:";
}

std::string ExtractFilePath(const std::string& path) {
    std::size_t slash = path.find_last_of(kDelimiters);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path) {
    std::size_t slash = path.find_last_of(kDelimiters);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    std::size_t delimiter = path.find_last_of(kDelimiters);
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (delimiter != std::string::npos && dot < delimiter)) return path + ext;
    return path.substr(0, dot) + ext;
}

}  // namespace mlt
