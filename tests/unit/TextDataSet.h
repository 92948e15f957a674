// Test helpers for the engine tests: an open TADODataSet over text rows held in memory,
// the field names of a column list, and a walk through an engine that collects one
// field's text per visited record.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/ADODataSet.h"
#include "data/MemoryRecordSource.h"
#include "export/DvxDataEngine.h"

namespace mlt::test {

// Columns are (name, declared size); a text field's display width is its declared size.
inline std::unique_ptr<TADODataSet> MakeTextDataSet(const std::vector<std::pair<std::string, int>>& columns,
                                                    const std::vector<std::vector<std::string>>& rows) {
    std::vector<TColumnDescriptor> descriptors;
    for (const auto& [name, size] : columns) descriptors.push_back({name, adVarChar, size});
    std::vector<std::vector<Variant>> values;
    for (const auto& row : rows) {
        values.emplace_back();
        for (const auto& text : row) values.back().push_back(Variant::String(text));
    }
    auto dataset = std::make_unique<TADODataSet>();
    dataset->SetRecordset(std::make_unique<TMemoryRecordSource>(std::move(descriptors), std::move(values)));
    return dataset;
}

inline std::vector<std::string> FieldNames(const TDvxColumns& columns) {
    std::vector<std::string> names;
    for (int i = 0; i < columns.Count(); ++i) names.push_back(columns.Items(i).FieldName);
    return names;
}

// Runs First, then Eof/Next until the end, reading the named field through the engine.
inline std::vector<std::string> WalkTexts(TDvxCustomDataEngine& engine, const std::string& fieldName) {
    TDvxColumns columns;
    TDvxColumn& column = columns.Add();
    column.FieldName = fieldName;
    std::vector<std::string> texts;
    engine.First();
    while (!engine.Eof()) {
        Variant value;
        engine.GetValue(column, value);
        texts.push_back(value.Bytes());
        engine.Next();
        if (texts.size() > 100) break;  // an engine that never ends fails instead of hanging
    }
    return texts;
}

}  // namespace mlt::test
