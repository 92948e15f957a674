// The comma lists: any text and any index give an item, a width and an alignment, and
// the item is exactly what lies between the index-th and the next comma.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "component/FieldList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int index = static_cast<std::int8_t>(data[0]);
    const std::string_view list(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string item = mlt::FieldListItem(list, index);
    if (item.find(',') != std::string::npos || item.size() > list.size()) std::abort();
    if (mlt::FieldListCaption(list, index) != item) std::abort();
    mlt::FieldListWidth(list, index);
    mlt::FieldListAlignment(list, index);
    return 0;
}
