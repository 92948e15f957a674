#include <windows.h>

#include "rtl/CodePage.h"
#include "rtl/Exception.h"
#include "rtl/FileStream.h"

namespace mlt {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    char message[512] = {};
    DWORD error = GetLastError();
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, message,
                   sizeof message, nullptr);
    std::string text = message;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) text.pop_back();
    throw EInOutError(what + " " + path + ": " + text);
}

class Win32File : public FileHandle {
public:
    Win32File(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    ~Win32File() override {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }

    void Write(const char* data, std::size_t count) override {
        while (count > 0) {
            DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
            DWORD written = 0;
            if (!WriteFile(handle_, data, chunk, &written, nullptr) || written == 0) Fail("Cannot write", path_);
            data += written;
            count -= written;
        }
    }

    std::size_t Read(char* data, std::size_t count) override {
        DWORD got = 0;
        if (!ReadFile(handle_, data, static_cast<DWORD>(count), &got, nullptr)) Fail("Cannot read", path_);
        return got;
    }

    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override {
        LARGE_INTEGER distance;
        distance.QuadPart = offset;
        LARGE_INTEGER result;
        DWORD method = origin == TSeekOrigin::Beginning ? FILE_BEGIN : origin == TSeekOrigin::Current ? FILE_CURRENT : FILE_END;
        if (!SetFilePointerEx(handle_, distance, &result, method)) Fail("Cannot seek in", path_);
        return result.QuadPart;
    }

    void Sync() override {
        if (!FlushFileBuffers(handle_) && GetLastError() != ERROR_INVALID_HANDLE) Fail("Cannot flush", path_);
    }

    void Close() override {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        if (!CloseHandle(handle)) Fail("Cannot close", path_);
    }

    bool CanSeek() override { return GetFileType(handle_) == FILE_TYPE_DISK; }

private:
    HANDLE handle_;
    std::string path_;
};

}  // namespace

std::unique_ptr<FileHandle> FileHandle::Open(const std::string& path, TFileMode mode) {
    DWORD access = mode == TFileMode::OpenRead ? GENERIC_READ : GENERIC_WRITE;
    const bool create = mode == TFileMode::Create || mode == TFileMode::CreateNew;
    DWORD disposition = mode == TFileMode::Create ? CREATE_ALWAYS : mode == TFileMode::CreateNew ? CREATE_NEW : OPEN_EXISTING;
    HANDLE handle = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) Fail(create ? "Cannot create file" : "Cannot open file", path);
    auto file = std::make_unique<Win32File>(handle, path);
    if (mode == TFileMode::OpenWrite) file->Seek(0, TSeekOrigin::End);
    return file;
}

namespace {

std::unique_ptr<FileHandle> Duplicate(DWORD which, const std::string& name) {
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (!DuplicateHandle(GetCurrentProcess(), GetStdHandle(which), GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
        Fail("Cannot open", name);
    return std::make_unique<Win32File>(copy, name);
}

}  // namespace

std::unique_ptr<FileHandle> FileHandle::StandardInput() { return Duplicate(STD_INPUT_HANDLE, "standard input"); }

std::unique_ptr<FileHandle> FileHandle::StandardOutput() { return Duplicate(STD_OUTPUT_HANDLE, "standard output"); }

std::unique_ptr<FileHandle> FileHandle::CreateTemporary() {
    char folder[MAX_PATH + 1] = {};
    char path[MAX_PATH + 1] = {};
    if (GetTempPathA(sizeof folder, folder) == 0 || GetTempFileNameA(folder, "mlt", 0, path) == 0)
        Fail("Cannot create a temporary file in", folder);
    HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) Fail("Cannot create file", path);
    return std::make_unique<Win32File>(handle, "a temporary file");
}

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A reader that holds the final name open (a web server still sending the previous
// report) makes the move fail with a sharing violation or access denied until it closes
// the file: ten tries, 100 ms apart.
void RenameReplacing(const std::string& from, const std::string& to) {
    const std::u16string source = AnsiToWide(from), target = AnsiToWide(to);
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(reinterpret_cast<const wchar_t*>(source.c_str()), reinterpret_cast<const wchar_t*>(target.c_str()),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        const DWORD error = GetLastError();
        if (attempt == 9 || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)) Fail("Cannot replace", to);
        Sleep(100);
    }
}

void RemoveFile(const char* path) noexcept { DeleteFileA(path); }

bool IsDeviceFile(const std::string&) { return false; }

}  // namespace mlt
