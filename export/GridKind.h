// Which grid engine can read a control. A control is supported only when it publishes
// "DataSource" as an object. Then: a "Columns" object that is a collection whose items
// publish "FieldName" makes a column grid (any other "Columns" object, or a failure while
// reading it, makes it unsupported); else a "Selected" object makes a selection grid;
// else a "Fields" object makes a field-list grid.
#pragma once

#include <optional>

#include "rtl/Control.h"

namespace mlt {

enum class TGridKind { Columns, Selected, Fields };

std::optional<TGridKind> ClassifyGrid(const TCustomControl& control);

}  // namespace mlt
