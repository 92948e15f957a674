// Small datasets for tests, built over memory record sources.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/ADODataSet.h"
#include "data/MemoryRecordSource.h"

namespace mlt::test {

inline TColumnDescriptor TextColumn(std::string name, int size = 20) {
    TColumnDescriptor c;
    c.Name = std::move(name);
    c.Type = adVarChar;
    c.DefinedSize = size;
    return c;
}

inline TColumnDescriptor TypedColumn(std::string name, int adoType) {
    TColumnDescriptor c;
    c.Name = std::move(name);
    c.Type = adoType;
    return c;
}

inline std::unique_ptr<TADODataSet> MakeDataSet(std::vector<TColumnDescriptor> columns,
                                                std::vector<std::vector<Variant>> rows) {
    auto dataSet = std::make_unique<TADODataSet>();
    dataSet->SetRecordset(std::make_unique<TMemoryRecordSource>(std::move(columns), std::move(rows)));
    return dataSet;
}

// A dataset of `count` records with a text column A ("a0", "a1", ...) and an integer B (0, 1, ...).
inline std::unique_ptr<TADODataSet> NumberedDataSet(int count) {
    std::vector<std::vector<Variant>> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back({Variant::String(std::string("a").append(std::to_string(i))), Variant::Integer(i)});
    return MakeDataSet({TextColumn("A"), TypedColumn("B", adInteger)}, std::move(rows));
}

}  // namespace mlt::test
