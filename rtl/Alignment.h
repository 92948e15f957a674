// Horizontal alignment of a column, a caption or a field.
#pragma once

namespace mlt {

enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

}  // namespace mlt
