// FileHandle: the platform's file, unbuffered; one implementation per OS (in the
// FileStream_*.cpp files). Every failure raises EInOutError with the path and the OS's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "rtl/Stream.h"

namespace mlt {

enum class TFileMode { Create, OpenWrite, OpenRead };

class FileHandle {
public:
    virtual ~FileHandle() = default;
    virtual void Write(const char* data, std::size_t count) = 0;
    virtual std::size_t Read(char* data, std::size_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual void Sync() = 0;
    virtual void Close() = 0;
    static std::unique_ptr<FileHandle> Open(const std::string& path, TFileMode mode);
};

bool FileExists(const std::string& path);

}  // namespace mlt
