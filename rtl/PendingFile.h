// TPendingFile: an output file written under a temporary name in the folder of its final
// name (the final name, a dot, eight hex digits, ".tmp"), and renamed over the final name
// by Commit once it is complete. A reader of the final name finds the previous file or
// the complete new one, never a part of one; of runs that write one name at once, the
// last to commit wins. The rename replaces a symbolic link at the final name rather than
// writing through it.
// Order of calls: construct (creates the temporary file), write to Stream(), Close, then
// Commit. A pending file destroyed before Commit removes its temporary file; so does
// RemovePendingFiles for every pending file of the process, from a signal handler.
// Creating, closing and committing throw EInOutError. Where the final name cannot be
// replaced (on Windows, while another process holds it open without sharing deletion),
// Commit retries for about a second, then throws, and the new file stays under its
// temporary name, which the message names.
#pragma once

#include <memory>
#include <string>

#include "rtl/FileStream.h"

namespace mlt {

struct TPendingSlot;

class TPendingFile {
public:
    explicit TPendingFile(std::string finalPath);
    ~TPendingFile();
    TPendingFile(const TPendingFile&) = delete;
    TPendingFile& operator=(const TPendingFile&) = delete;

    TFileStream& Stream() { return *stream_; }
    const std::string& FinalPath() const { return finalPath_; }
    const std::string& TempPath() const { return tempPath_; }

    // Writes out the buffer, asks the OS to put the file on the disk, and closes it.
    void Close();
    void Commit();

private:
    std::string finalPath_;
    std::string tempPath_;
    std::unique_ptr<TFileStream> stream_;
    // The slot that lists the temporary name for RemovePendingFiles, until Commit.
    TPendingSlot* slot_ = nullptr;
};

// Removes the temporary file of every pending file in the process. Only reads memory and
// removes files, so a signal handler may call it.
void RemovePendingFiles() noexcept;

}  // namespace mlt
