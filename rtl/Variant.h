// Variant: a tagged value as a dataset field hands it out. The kinds are those that
// record sources produce; conversions to text take the run's settings explicitly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rtl/DateTime.h"
#include "rtl/FormatSettings.h"
#include "rtl/NumberFormat.h"

namespace mlt {

enum class VarType : std::uint8_t {
    Empty, Null, Boolean, SmallInt, Integer, Int64, Double, Currency, BCD, Date, String, WideString, Blob
};

class Variant {
public:
    Variant() = default;

    static Variant Null() { return Variant(VarType::Null); }
    static Variant Boolean(bool value) { return Integral(VarType::Boolean, value ? 1 : 0); }
    static Variant SmallInt(std::int16_t value) { return Integral(VarType::SmallInt, value); }
    static Variant Integer(std::int32_t value) { return Integral(VarType::Integer, value); }
    static Variant Int64(std::int64_t value) { return Integral(VarType::Int64, value); }
    static Variant Double(double value) { return Floating(VarType::Double, value); }
    static Variant Date(TDateTime value) { return Floating(VarType::Date, value); }
    // Money and BCD hold the amount times 10,000.
    static Variant CurrencyValue(mlt::Currency value) { return Integral(VarType::Currency, value); }
    static Variant BCD(mlt::Currency value) { return Integral(VarType::BCD, value); }
    static Variant String(std::string value) { return Text(VarType::String, std::move(value)); }
    static Variant WideString(std::u16string value);
    static Variant Blob(std::string bytes) { return Text(VarType::Blob, std::move(bytes)); }

    // Makes the value the given text, reusing the memory of the text it held.
    void AssignString(std::string_view value) {
        type_ = VarType::String;
        text_.assign(value);
    }
    void AssignWide(std::u16string_view value) {
        type_ = VarType::WideString;
        wide_.assign(value);
    }

    VarType Type() const { return type_; }
    bool IsNull() const { return type_ == VarType::Null; }
    bool IsEmpty() const { return type_ == VarType::Empty; }
    bool IsNullOrEmpty() const { return type_ == VarType::Null || type_ == VarType::Empty; }
    bool IsNumeric() const;

    // Raw payloads; valid for the kinds that carry them.
    std::int64_t IntegerValue() const { return integer_; }
    double DoubleValue() const { return double_; }
    const std::string& Bytes() const { return text_; }
    const std::u16string& Wide() const { return wide_; }

    // Conversions. Null and Empty read as 0, False and empty text; text that is not a
    // number raises EConvertError.
    double AsDouble() const;
    bool AsBoolean() const;
    std::string AsString(const TFormatSettings& settings) const;

    // True when the value is Null, Empty, or equal to the text "0" under variant
    // comparison: a number or date equal to 0, False, or the text "0" itself.
    bool IsZeroLike() const;

private:
    explicit Variant(VarType type) : type_(type) {}
    static Variant Integral(VarType type, std::int64_t value) {
        Variant v(type);
        v.integer_ = value;
        return v;
    }
    static Variant Floating(VarType type, double value) {
        Variant v(type);
        v.double_ = value;
        return v;
    }
    static Variant Text(VarType type, std::string value) {
        Variant v(type);
        v.text_ = std::move(value);
        return v;
    }

    VarType type_ = VarType::Empty;
    std::int64_t integer_ = 0;
    double double_ = 0;
    std::string text_;
    std::u16string wide_;
};

}  // namespace mlt
