#include "pdf/XRefTable.h"

namespace mlt {

void TXRefTable::Add(std::int64_t object, std::int64_t offset) {
    const auto number = static_cast<std::size_t>(object);
    const std::size_t index = number / kBlockSize;
    if (index >= blocks_.size()) blocks_.resize(index + 1);
    auto& block = blocks_[index];
    if (!block) {
        block = std::make_unique<TBlock>();
        block->High.fill(kNone);
    }
    const std::size_t slot = number % kBlockSize;
    if (block->High[slot] == kNone) ++count_;
    block->Low[slot] = static_cast<std::uint32_t>(offset);
    block->High[slot] = static_cast<std::uint8_t>(offset >> 32);
}

void TXRefTable::Clear() {
    std::vector<std::unique_ptr<TBlock>>().swap(blocks_);
    count_ = 0;
}

}  // namespace mlt
