#include "data/ADODataSet.h"

#include "rtl/Exception.h"
#include "rtl/TextUtils.h"

namespace mlt {

std::optional<TAdoFieldDef> AdoFieldDef(const TColumnDescriptor& column) {
    const int defined = static_cast<int>(column.DefinedSize);
    switch (column.Type) {
        case adVarChar: return TAdoFieldDef{ftString, defined, defined + 1};
        case adChar: return TAdoFieldDef{ftFixedChar, defined, defined + 1};
        case adBSTR: case adWChar: case adVarWChar: return TAdoFieldDef{ftWideString, defined, 4};
        case adSmallInt: case adTinyInt: return TAdoFieldDef{ftSmallint, 0, 2};
        case adUnsignedTinyInt: case adUnsignedSmallInt: return TAdoFieldDef{ftWord, 0, 2};
        case adInteger: case adError: case adUnsignedInt: return TAdoFieldDef{ftInteger, 0, 4};
        case adBigInt: case adUnsignedBigInt: return TAdoFieldDef{ftLargeint, 0, 8};
        case adSingle: case adDouble: return TAdoFieldDef{ftFloat, 0, 8};
        case adNumeric:
            if (column.NumericScale == 0 && column.Precision < 10) return TAdoFieldDef{ftInteger, 0, 4};
            [[fallthrough]];
        case adCurrency: case adDecimal: case adVarNumeric: {
            int scale = static_cast<signed char>(column.NumericScale);
            return TAdoFieldDef{ftBCD, scale < 0 ? 4 : scale, 34};
        }
        case adBoolean: return TAdoFieldDef{ftBoolean, 0, 2};
        case adDate: case adFileTime: case adDBTimeStamp: case adDBFileTime: return TAdoFieldDef{ftDateTime, 0, 8};
        case adDBDate: return TAdoFieldDef{ftDate, 0, 4};
        case adDBTime: return TAdoFieldDef{ftTime, 0, 4};
        case adGUID: return TAdoFieldDef{ftGuid, 38, 39};
        case adBinary: return TAdoFieldDef{ftBytes, defined, defined};
        case adVarBinary: return TAdoFieldDef{ftVarBytes, defined, defined + 2};
        case adLongVarChar: case adLongVarWChar: return TAdoFieldDef{ftMemo, 0, 0};
        case adLongVarBinary: return TAdoFieldDef{column.Graphic ? ftGraphic : ftBlob, 0, 0};
        case adVariant: case adPropVariant: return TAdoFieldDef{ftVariant, 0, 0};
        case adIUnknown: return TAdoFieldDef{ftInterface, 0, 0};
        case adIDispatch: return TAdoFieldDef{ftIDispatch, 0, 0};
        case adChapter: return TAdoFieldDef{ftDataSet, 0, 0};
        default: return std::nullopt;
    }
}

void TADODataSet::SetRecordset(std::unique_ptr<TRecordSource> source) {
    Close();
    source_ = std::move(source);
    if (source_) Open();
}

void TADODataSet::InternalOpen() {
    if (!source_) throw EDatabaseError("Cannot perform this operation on a closed dataset");
    std::vector<TColumnDescriptor> columns = source_->Columns();
    columnOfField_.clear();
    sourceRow_.assign(columns.size(), Variant());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const TColumnDescriptor& column = columns[i];
        if ((column.Attributes & adFldRowID) != 0) continue;
        std::optional<TAdoFieldDef> def = AdoFieldDef(column);
        if (!def) continue;
        std::string name = column.Name.empty() ? "COLUMN" + IntToStr(static_cast<std::int64_t>(i) + 1) : column.Name;
        std::string unique = name;
        for (int attempt = 1; FindField(unique) != nullptr; ++attempt) unique = name + "_" + IntToStr(attempt);
        AddField(unique, def->Kind, def->Size, def->DataSize);
        columnOfField_.push_back(static_cast<int>(i));
    }
    source_->First();
}

void TADODataSet::InternalClose() { columnOfField_.clear(); }

void TADODataSet::InternalReadRow(std::vector<Variant>& values) {
    // When every column has its field, in order, the source fills the row itself.
    if (columnOfField_.size() == sourceRow_.size()) return source_->ReadRow(values);
    source_->ReadRow(sourceRow_);
    for (std::size_t f = 0; f < columnOfField_.size(); ++f)
        values[f] = std::move(sourceRow_[static_cast<std::size_t>(columnOfField_[f])]);
}

}  // namespace mlt
