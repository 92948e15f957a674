// The comma lists of the component settings (FieldsWidth, FieldsCaption,
// FieldsAlignment): item i belongs to field i. The separator is a single comma, nothing
// is trimmed and there is no quoting; an index past the end gives empty text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rtl/Alignment.h"

namespace mlt {

std::string FieldListItem(std::string_view list, int index);

// The item read as a 32-bit integer; 0 when it is unreadable (never an error).
std::int32_t FieldListWidth(std::string_view list, int index);
// The item itself, blanks and all.
std::string FieldListCaption(std::string_view list, int index);
// "R" right, "C" centred, anything else left; letters count in either case.
TAlignment FieldListAlignment(std::string_view list, int index);
// The format list (--fields-format) split into one pattern per field. A number pattern's
// thousands comma stays inside its item: ",,#,##0.00,yyyy-mm-dd" gives "", "",
// "#,##0.00" and "yyyy-mm-dd".
std::vector<std::string> FieldListFormats(std::string_view list);

}  // namespace mlt
