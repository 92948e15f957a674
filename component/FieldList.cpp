#include "component/FieldList.h"

#include "rtl/TextUtils.h"

namespace mlt {

std::string FieldListItem(std::string_view list, int index) {
    // The walk ends at the last item: a report of many columns asks for every index of a
    // short or empty list.
    std::string_view rest = list;
    for (int i = 0; i < index; ++i) {
        std::size_t comma = rest.find(',');
        if (comma == std::string_view::npos) return {};
        rest.remove_prefix(comma + 1);
    }
    return std::string(rest.substr(0, rest.find(',')));
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

namespace {
bool IsNumberPattern(std::string_view item) {
    return !item.empty() && item.find_first_not_of("#0.") == std::string_view::npos;
}
}  // namespace

std::vector<std::string> FieldListFormats(std::string_view list) {
    std::vector<std::string> items;
    bool joinable = false;  // the last item is a number pattern that a comma may continue
    for (std::size_t start = 0;;) {
        const std::size_t comma = list.find(',', start);
        const std::string_view item = list.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (joinable && IsNumberPattern(item) && (item[0] == '#' || item[0] == '0')) {
            items.back() += ",";
            items.back() += item;
        } else {
            items.emplace_back(item);
        }
        joinable = IsNumberPattern(items.back().substr(items.back().rfind(',') + 1)) &&
                   items.back().find('.') == std::string::npos;
        if (comma == std::string_view::npos) return items;
        start = comma + 1;
    }
}

}  // namespace mlt
