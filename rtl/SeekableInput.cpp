#include "rtl/SeekableInput.h"

#include <vector>

namespace mlt {

std::unique_ptr<TFileStream> OpenSeekableInput(const std::string& path) {
    const bool standard = path == "-";
    const std::string name = standard ? "standard input" : path;
    auto input = std::make_unique<TFileStream>(standard ? FileHandle::StandardInput() : FileHandle::Open(path, TFileMode::OpenRead),
                                               name, TFileMode::OpenRead);
    if (input->CanSeek()) return input;
    auto copy = std::make_unique<TFileStream>(FileHandle::CreateTemporary(), "the temporary copy of " + name,
                                              TFileMode::Create);
    std::vector<char> chunk(1 << 20);
    while (std::size_t n = input->Read(chunk.data(), chunk.size())) copy->Write(chunk.data(), n);
    copy->Seek(0, TSeekOrigin::Beginning);
    return copy;
}

}  // namespace mlt
