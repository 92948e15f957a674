#include "component/FieldList.h"

#include "rtl/TextUtils.h"

namespace mlt {

std::string FieldListItem(std::string_view list, int index) {
    std::string_view rest = list;
    std::string_view item;
    for (int i = 0; i <= index; ++i) {
        std::size_t comma = rest.find(',');
        item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return std::string(item);
}

std::int32_t FieldListWidth(std::string_view list, int index) {
    return TryStrToInt(FieldListItem(list, index)).value_or(0);
}

std::string FieldListCaption(std::string_view list, int index) { return FieldListItem(list, index); }

TAlignment FieldListAlignment(std::string_view list, int index) {
    std::string item = FieldListItem(UpperCase(list), index);
    if (item == "R") return taRightJustify;
    if (item == "C") return taCenter;
    return taLeftJustify;
}

}  // namespace mlt
