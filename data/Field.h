// TField: one column of a TDataSet. It knows its kind, sizes and display facts, and reads
// the current record's value from its dataset. Texts of numbers and dates take the run's
// format settings explicitly.
#pragma once

#include <string>

#include "data/FieldType.h"
#include "rtl/Alignment.h"
#include "rtl/FormatSettings.h"
#include "rtl/Variant.h"

namespace mlt {

class TDataSet;

class TField {
public:
    TField(TDataSet& dataSet, int index, std::string fieldName, TFieldType dataType, int size, int dataSize);

    TDataSet& DataSet() const { return *dataSet_; }
    int Index() const { return index_; }
    TFieldType DataType() const { return dataType_; }
    // Declared size (characters of a text, scale of a BCD) and bytes of a record buffer.
    int Size() const { return size_; }
    int DataSize() const { return dataSize_; }
    bool IsBlob() const { return IsBlobType(dataType_); }
    TFieldType BlobType() const { return IsBlob() ? dataType_ : ftUnknown; }

    // The caption: DisplayLabel when set, else the field name.
    std::string DisplayName() const { return DisplayLabel.empty() ? FieldName : DisplayLabel; }

    const Variant& Value() const;
    bool IsNull() const { return Value().IsNullOrEmpty(); }
    // The plain text of the value: empty for null, else by kind.
    std::string AsString(const TFormatSettings& settings) const;
    // The same into `text`, whose memory a caller reuses from value to value.
    void AsString(const TFormatSettings& settings, std::string& text) const;
    // The text a display control shows; without a display format it is AsString.
    std::string DisplayText(const TFormatSettings& settings) const { return AsString(settings); }
    bool AsBoolean() const { return Value().AsBoolean(); }
    double AsFloat() const { return Value().AsDouble(); }
    TDateTime AsDateTime() const { return Value().AsDouble(); }

    std::string FieldName;
    std::string DisplayLabel;
    TAlignment Alignment = taLeftJustify;
    int DisplayWidth = 10;
    bool Visible = true;
    bool Required = false;
    bool ReadOnly = false;

private:
    TDataSet* dataSet_;
    int index_;
    TFieldType dataType_;
    int size_;
    int dataSize_;
};

}  // namespace mlt
