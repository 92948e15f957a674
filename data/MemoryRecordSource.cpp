#include "data/MemoryRecordSource.h"

#include "rtl/Exception.h"
#include "rtl/TextUtils.h"

namespace mlt {

void TMemoryRecordSource::GotoBookmark(const std::string& bookmark) {
    std::optional<std::int32_t> row = TryStrToInt(bookmark);
    if (!row || *row < 0 || static_cast<std::size_t>(*row) > rows_.size())
        throw EDatabaseError("Record not found or changed by another user");
    current_ = static_cast<std::size_t>(*row);
}

}  // namespace mlt
