// FileHandle: the platform's file, unbuffered; one implementation per OS (in the
// FileStream_*.cpp files). Every failure raises EInOutError with the path and the OS's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "rtl/Stream.h"

namespace mlt {

// Create replaces a file of that name; CreateNew fails when the name exists.
enum class TFileMode { Create, CreateNew, OpenWrite, OpenRead };

class FileHandle {
public:
    virtual ~FileHandle() = default;
    virtual void Write(const char* data, std::size_t count) = 0;
    virtual std::size_t Read(char* data, std::size_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual void Sync() = 0;
    virtual void Close() = 0;
    // False for pipes, FIFOs and terminals, which can be read only once.
    virtual bool CanSeek() = 0;
    static std::unique_ptr<FileHandle> Open(const std::string& path, TFileMode mode);
    // Copies of the process's standard input and output; closing them leaves those open.
    // Off Windows, once standard output is asked for, SIGPIPE is ignored for the process.
    static std::unique_ptr<FileHandle> StandardInput();
    static std::unique_ptr<FileHandle> StandardOutput();
    // A new file for reading and writing, in the system's temporary folder, that
    // disappears when closed (or when the process ends).
    static std::unique_ptr<FileHandle> CreateTemporary();
};

bool FileExists(const std::string& path);
// Renames `from` over `to` in one step, replacing a file or a symbolic link named `to`.
// On Windows a file held open is retried for about a second before EInOutError.
void RenameReplacing(const std::string& from, const std::string& to);
// True for a name (or a link to one) that exists and is neither a regular file nor a
// folder: a device or a pipe, which is written in place. Always false on Windows.
bool IsDeviceFile(const std::string& path);
// Removes a file, quietly. Safe in a signal handler.
void RemoveFile(const char* path) noexcept;

}  // namespace mlt
