#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "rtl/Exception.h"
#include "rtl/FileStream.h"

namespace mlt {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw EInOutError(what + " " + path + ": " + std::strerror(errno));
}

// Past this many bytes written, a file made for writing starts its writeback, so that
// the sync at its end waits for the last few megabytes only, not the whole document.
constexpr std::size_t kWriteBehindBytes = std::size_t{8} << 20;

class PosixFile : public FileHandle {
public:
    PosixFile(int fd, std::string path, bool writeBehind = false)
        : fd_(fd), path_(std::move(path)), writeBehind_(writeBehind) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    void Write(const char* data, std::size_t count) override {
        while (count > 0) {
            ssize_t n = ::write(fd_, data, count);
            if (n < 0) {
                if (errno == EINTR) continue;
                Fail("Cannot write", path_);
            }
            data += n;
            count -= static_cast<std::size_t>(n);
            unsynced_ += static_cast<std::size_t>(n);
        }
#ifdef SYNC_FILE_RANGE_WRITE
        if (writeBehind_ && unsynced_ >= kWriteBehindBytes) {
            // Starts the writeback of the whole file and returns at once; a failure shows
            // in the sync at the end, which this only makes shorter.
            ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
            unsynced_ = 0;
        }
#endif
    }

    std::size_t Read(char* data, std::size_t count) override {
        ssize_t n;
        do n = ::read(fd_, data, count);
        while (n < 0 && errno == EINTR);
        if (n < 0) Fail("Cannot read", path_);
        return static_cast<std::size_t>(n);
    }

    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override {
        int whence = origin == TSeekOrigin::Beginning ? SEEK_SET : origin == TSeekOrigin::Current ? SEEK_CUR : SEEK_END;
        off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
        if (result < 0) Fail("Cannot seek in", path_);
        return result;
    }

    void Sync() override {
        // Pipes and terminals cannot be synced; only real files must reach the disk.
        if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) Fail("Cannot flush", path_);
    }

    void Close() override {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) Fail("Cannot close", path_);
    }

    bool CanSeek() override { return ::lseek(fd_, 0, SEEK_CUR) >= 0; }

private:
    int fd_;
    std::string path_;
    bool writeBehind_;
    std::size_t unsynced_ = 0;  // bytes written since the writeback last started
};

}  // namespace

std::unique_ptr<FileHandle> FileHandle::Open(const std::string& path, TFileMode mode) {
    const bool create = mode == TFileMode::Create || mode == TFileMode::CreateNew;
    int flags = mode == TFileMode::Create      ? O_WRONLY | O_CREAT | O_TRUNC
                : mode == TFileMode::CreateNew ? O_WRONLY | O_CREAT | O_EXCL
                : mode == TFileMode::OpenWrite ? O_WRONLY
                                               : O_RDONLY;
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) Fail(create ? "Cannot create file" : "Cannot open file", path);
    auto file = std::make_unique<PosixFile>(fd, path, create);
    if (mode == TFileMode::OpenWrite) file->Seek(0, TSeekOrigin::End);
    return file;
}

namespace {

std::unique_ptr<FileHandle> Duplicate(int fd, const std::string& name) {
    int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) Fail("Cannot open", name);
    return std::make_unique<PosixFile>(copy, name);
}

}  // namespace

std::unique_ptr<FileHandle> FileHandle::StandardInput() { return Duplicate(STDIN_FILENO, "standard input"); }

std::unique_ptr<FileHandle> FileHandle::StandardOutput() {
    // A reader that goes away makes writes fail with EPIPE instead of ending the process.
    std::signal(SIGPIPE, SIG_IGN);
    return Duplicate(STDOUT_FILENO, "standard output");
}

std::unique_ptr<FileHandle> FileHandle::CreateTemporary() {
    const char* folder = std::getenv("TMPDIR");
    std::string path = std::string(folder && *folder ? folder : "/tmp") + "/marrowlintide-XXXXXX";
    int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) Fail("Cannot create a temporary file in", path.substr(0, path.rfind('/')));
    // Unlinked at once: the file lives as long as the handle.
    ::unlink(path.c_str());
    return std::make_unique<PosixFile>(fd, "a temporary file");
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void RenameReplacing(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) Fail("Cannot replace", to);
}

void RemoveFile(const char* path) noexcept { ::unlink(path); }

bool IsDeviceFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

}  // namespace mlt
