// TXRefTable: the byte offset at which each object of a document landed, by object number,
// for the cross-reference table. A document of a million rows has over a hundred thousand
// objects, so offsets take 5 bytes each (up to MaxOffset, beyond the 10 digits that the
// table allows) in blocks that are added as numbers grow and never copied.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace mlt {

class TXRefTable {
    static constexpr std::uint8_t kNone = 0xFF;  // the high byte of an object without offset

public:
    static constexpr std::int64_t MaxOffset = std::int64_t{kNone - 1} << 32 | 0xFFFFFFFF;

    // Records where object `object` (1 or more) starts; offset is 0 .. MaxOffset.
    void Add(std::int64_t object, std::int64_t offset);
    // How many objects have an offset.
    std::int64_t Count() const { return count_; }
    // Calls visit(offset) for every recorded object, in ascending order of number.
    template <class Visit>
    void ForEach(Visit visit) const {
        for (const auto& block : blocks_) {
            if (!block) continue;
            for (std::size_t i = 0; i < kBlockSize; ++i)
                if (block->High[i] != kNone) visit(std::int64_t{block->High[i]} << 32 | block->Low[i]);
        }
    }
    // Forgets every offset and frees the memory.
    void Clear();

private:
    static constexpr std::size_t kBlockSize = 4096;
    struct TBlock {
        std::array<std::uint32_t, kBlockSize> Low;
        std::array<std::uint8_t, kBlockSize> High;
    };
    std::vector<std::unique_ptr<TBlock>> blocks_;
    std::int64_t count_ = 0;
};

}  // namespace mlt
