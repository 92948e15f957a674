// The width in characters that a grid engine gives a column it builds: the display width
// of the dataset's field of that name, or 10 when there is no dataset or no such field.
#pragma once

#include <string_view>

#include "data/DataSet.h"

namespace mlt {

constexpr int kUnknownFieldWidth = 10;

inline int GridColumnWidth(const TDataSet* dataset, std::string_view fieldName) {
    const TField* field = dataset != nullptr ? dataset->FindField(fieldName) : nullptr;
    return field != nullptr ? field->DisplayWidth : kUnknownFieldWidth;
}

}  // namespace mlt
