#include "rtl/Variant.h"

#include <cstdlib>

#include "rtl/CodePage.h"
#include "rtl/Exception.h"
#include "rtl/TextUtils.h"

namespace mlt {

Variant Variant::WideString(std::u16string value) {
    Variant v(VarType::WideString);
    v.wide_ = std::move(value);
    return v;
}

bool Variant::IsNumeric() const {
    switch (type_) {
        case VarType::Boolean:
        case VarType::SmallInt:
        case VarType::Integer:
        case VarType::Int64:
        case VarType::Double:
        case VarType::Currency:
        case VarType::BCD:
        case VarType::Date:
            return true;
        default:
            return false;
    }
}

namespace {
double TextToDouble(const std::string& text) {
    const char* begin = text.c_str();
    while (*begin == ' ') ++begin;
    char* end = nullptr;
    double value = std::strtod(begin, &end);
    while (end != nullptr && *end == ' ') ++end;
    if (*begin == '\0' || end == nullptr || *end != '\0')
        throw EConvertError("Could not convert variant of type (String) into type (Double)");
    return value;
}
}  // namespace

double Variant::AsDouble() const {
    switch (type_) {
        case VarType::Empty:
        case VarType::Null:
            return 0;
        case VarType::Boolean:
            return integer_ != 0 ? -1 : 0;
        case VarType::SmallInt:
        case VarType::Integer:
        case VarType::Int64:
            return static_cast<double>(integer_);
        case VarType::Currency:
        case VarType::BCD:
            return static_cast<double>(integer_) / kCurrencyScale;
        case VarType::Double:
        case VarType::Date:
            return double_;
        case VarType::String:
            return TextToDouble(text_);
        case VarType::WideString:
            return TextToDouble(WideToAnsi(wide_));
        case VarType::Blob:
            break;
    }
    throw EConvertError("Could not convert variant of type (Array Byte) into type (Double)");
}

bool Variant::AsBoolean() const {
    switch (type_) {
        case VarType::String:
            if (SameText(text_, "True")) return true;
            if (SameText(text_, "False")) return false;
            return AsDouble() != 0;
        case VarType::Boolean:
            return integer_ != 0;
        default:
            return AsDouble() != 0;
    }
}

std::string Variant::AsString(const TFormatSettings& settings) const {
    switch (type_) {
        case VarType::Empty:
        case VarType::Null:
            return {};
        case VarType::Boolean:
            return integer_ != 0 ? "True" : "False";
        case VarType::SmallInt:
        case VarType::Integer:
        case VarType::Int64:
            return IntToStr(integer_);
        case VarType::Currency:
        case VarType::BCD:
            return CurrToStr(integer_, settings);
        case VarType::Double:
            return FloatToStr(double_, settings);
        case VarType::Date:
            return DateTimeToStr(double_, settings);
        case VarType::String:
        case VarType::Blob:
            return text_;
        case VarType::WideString:
            return WideToAnsi(wide_);
    }
    return {};
}

bool Variant::IsZeroLike() const {
    switch (type_) {
        case VarType::Empty:
        case VarType::Null:
            return true;
        case VarType::Boolean:
        case VarType::SmallInt:
        case VarType::Integer:
        case VarType::Int64:
        case VarType::Currency:
        case VarType::BCD:
            return integer_ == 0;
        case VarType::Double:
        case VarType::Date:
            return double_ == 0;
        case VarType::String:
        case VarType::Blob:
            return text_ == "0";
        case VarType::WideString:
            return wide_ == u"0";
    }
    return false;
}

}  // namespace mlt
