#include "rtl/PendingFile.h"

#include <atomic>
#include <cstring>
#include <random>

#include "rtl/Exception.h"

namespace mlt {

// The pending names live in a list of slots that only grows; a free slot holds nullptr.
// A signal handler walks it without locks, so every link and name is an atomic pointer.
struct TPendingSlot {
    std::atomic<char*> Name{nullptr};
    TPendingSlot* Next = nullptr;
};

namespace {

std::atomic<TPendingSlot*> slots{nullptr};

char* CopyName(const std::string& path) {
    char* name = new char[path.size() + 1];
    std::memcpy(name, path.c_str(), path.size() + 1);
    return name;
}

std::string RandomSuffix() {
    static thread_local std::mt19937 random{std::random_device{}()};
    static constexpr char kHex[] = "0123456789abcdef";
    std::uint32_t value = random();
    std::string suffix = ".";
    for (int shift = 28; shift >= 0; shift -= 4) suffix += kHex[value >> shift & 0xF];
    return suffix + ".tmp";
}

}  // namespace

TPendingFile::TPendingFile(std::string finalPath) : finalPath_(std::move(finalPath)) {
    // Another name only when this one exists already (a stale or a concurrent run's file).
    for (int attempt = 0;; ++attempt) {
        tempPath_ = finalPath_ + RandomSuffix();
        try {
            stream_ = std::make_unique<TFileStream>(tempPath_, TFileMode::CreateNew);
            break;
        } catch (const EInOutError&) {
            if (attempt == 8 || !FileExists(tempPath_)) throw;
        }
    }
    char* name = CopyName(tempPath_);
    for (TPendingSlot* slot = slots.load(); slot != nullptr; slot = slot->Next) {
        char* expected = nullptr;
        if (slot->Name.compare_exchange_strong(expected, name)) {
            slot_ = slot;
            return;
        }
    }
    slot_ = new TPendingSlot;
    slot_->Name.store(name);
    slot_->Next = slots.load();
    while (!slots.compare_exchange_weak(slot_->Next, slot_)) {
    }
}

TPendingFile::~TPendingFile() {
    stream_.reset();
    char* name = slot_->Name.exchange(nullptr);
    if (name != nullptr) {
        RemoveFile(name);
        delete[] name;
    }
}

void TPendingFile::Close() {
    stream_->FlushToDisk();
    stream_->Close();
}

void TPendingFile::Commit() {
    try {
        RenameReplacing(tempPath_, finalPath_);
    } catch (const EInOutError& error) {
        delete[] slot_->Name.exchange(nullptr);
        throw EInOutError(error.Message + "; the new file is kept as " + tempPath_);
    }
    delete[] slot_->Name.exchange(nullptr);
}

void RemovePendingFiles() noexcept {
    for (TPendingSlot* slot = slots.load(); slot != nullptr; slot = slot->Next)
        if (char* name = slot->Name.load()) RemoveFile(name);
}

}  // namespace mlt
