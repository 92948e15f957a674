// The type assigned to every exported value; it travels with the cell to the writer.
#pragma once

namespace mlt {

enum TCellType { ctBlank, ctInteger, ctDouble, ctString, ctDateTime, ctDate, ctCurrency, ctTime };

}  // namespace mlt
