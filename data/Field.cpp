#include "data/Field.h"

#include <cmath>

#include "data/DataSet.h"
#include "rtl/CodePage.h"
#include "rtl/DateTime.h"
#include "rtl/NumberFormat.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

// Field kinds' default display width and alignment, as the dataset layer gives them.
int DefaultDisplayWidth(TFieldType type, int size) {
    switch (type) {
        case ftString: case ftFixedChar: case ftWideString: return size;
        case ftSmallint: return 6;
        case ftWord: return 5;
        case ftInteger: case ftAutoInc: return 11;
        case ftLargeint: return 15;
        case ftBoolean: return 5;
        case ftDate: case ftTime: return 10;
        case ftDateTime: return 18;
        case ftGuid: return 38;
        default: return 10;
    }
}

TAlignment DefaultAlignment(TFieldType type) {
    switch (type) {
        case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
        case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
            return taRightJustify;
        default:
            return taLeftJustify;
    }
}

Currency ToCurrency(const Variant& value) {
    if (value.Type() == VarType::Currency || value.Type() == VarType::BCD) return value.IntegerValue();
    return static_cast<Currency>(std::llround(value.AsDouble() * kCurrencyScale));
}

}  // namespace

TField::TField(TDataSet& dataSet, int index, std::string fieldName, TFieldType dataType, int size, int dataSize)
    : FieldName(std::move(fieldName)),
      Alignment(DefaultAlignment(dataType)),
      DisplayWidth(DefaultDisplayWidth(dataType, size)),
      dataSet_(&dataSet),
      index_(index),
      dataType_(dataType),
      size_(size),
      dataSize_(dataSize) {}

const Variant& TField::Value() const { return dataSet_->FieldValue(index_); }

void TField::AsString(const TFormatSettings& settings, std::string& text) const {
    const Variant& value = Value();
    if (value.Type() == VarType::String) text.assign(value.Bytes());
    else text = AsString(settings);
}

std::string TField::AsString(const TFormatSettings& settings) const {
    const Variant& value = Value();
    if (value.IsNullOrEmpty()) return {};
    // A source passes a value that does not fit its column on as text; it shows as stored.
    if (value.Type() == VarType::String) return value.Bytes();
    switch (dataType_) {
        case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
            return IntToStr(value.Type() == VarType::Double ? static_cast<std::int64_t>(value.DoubleValue())
                                                            : value.IntegerValue());
        case ftFloat: case ftCurrency:
            return FloatToStr(value.AsDouble(), settings);
        case ftBCD: case ftFMTBcd:
            return CurrToStr(ToCurrency(value), settings);
        case ftBoolean:
            return value.AsBoolean() ? "True" : "False";
        case ftDate:
            return DateToStr(value.AsDouble(), settings);
        case ftTime:
            return TimeToStr(value.AsDouble(), settings);
        case ftDateTime: case ftTimeStamp:
            return DateTimeToStr(value.AsDouble(), settings);
        default:
            return value.AsString(settings);
    }
}

}  // namespace mlt
