// The per-value services of every exporter: the text and cell type of a value, the
// background colour of a data row, and the OEM form of a text.
#include "export/DvxCustomBaseComponent.h"
#include "rtl/CodePage.h"

namespace mlt {

namespace {

bool IsNumericKind(TFieldType type) {
    switch (type) {
        case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: case ftAutoInc:
            return true;
        default:
            return false;
    }
}

bool IsDateKind(TFieldType type) { return type == ftDate || type == ftTime || type == ftDateTime; }

}  // namespace

void TDvxCustomBaseComponent::GetFieldText(TField* field, std::string& text) {
    if (field == nullptr) {
        text.clear();
        return;
    }
    if ((Options & soFieldMask) != 0) {
        if (field->DataType() == ftBoolean) text = field->AsBoolean() ? DataFormats.BooleanTrue : DataFormats.BooleanFalse;
        else text = field->DisplayText(settings_);
    } else {
        field->AsString(settings_, text);
    }
    if (!BlankIfZero) return;
    const TFieldType type = field->DataType();
    // A null number or date reads as 0, so the first two rules blank it too.
    // A value that does not fit its column arrives as text; it is zero only as "0".
    const bool isText = field->Value().Type() == VarType::String;
    if (IsNumericKind(type) || IsDateKind(type)) {
        if (isText ? field->Value().IsZeroLike() : field->AsFloat() == 0) text.clear();
    } else if (field->IsNull()) {
        text.clear();
    }
}

TCellType TDvxCustomBaseComponent::GetColumnCellType(TField* field, bool blankIfZero) {
    if (field == nullptr) return ctString;
    return GetValueCellType(field->DataType(), field->Value(), blankIfZero);
}

TCellType TDvxCustomBaseComponent::GetValueCellType(TFieldType dataType, const Variant& value, bool blankIfZero) {
    TCellType plain;
    switch (dataType) {
        case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: plain = ctInteger; break;
        case ftFloat: case ftBCD: plain = ctDouble; break;
        case ftCurrency: plain = ctCurrency; break;
        case ftDate: plain = ctDate; break;
        case ftTime: plain = ctTime; break;
        case ftDateTime: plain = ctDateTime; break;
        default: return ctString;
    }
    if (!blankIfZero) return plain;
    return value.IsZeroLike() ? ctBlank : ctString;
}

void TDvxCustomBaseComponent::GetRowColor(int rowIndex, TColor& color) {
    if (ColorStyle.Style() == esNormal) return;
    color = rowIndex % 2 == 1 ? ColorStyle.OddColor : ColorStyle.EvenColor;
}

std::string TDvxCustomBaseComponent::ConvertToOem(const std::string& text) { return AnsiToOem(text); }

}  // namespace mlt
