// Path helpers over either delimiter ("/" or "\", and the drive's ":"), so that Windows
// paths read the same on every platform.
#pragma once

#include <string>

namespace mlt {

// The folder part of a path, with its trailing delimiter; empty when there is none.
std::string ExtractFilePath(const std::string& path);
// The name after the last delimiter.
std::string ExtractFileName(const std::string& path);
// The path with its extension (from the last "." after the last delimiter) replaced.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

}  // namespace mlt
