#include "export/GridKind.h"

#include "rtl/Collection.h"
#include "rtl/Exception.h"
#include "rtl/PropertyAccess.h"

namespace mlt {

namespace {

// A column grid's "Columns" must be a collection of items that publish "FieldName".
bool HasFieldColumns(const TCustomControl& control) {
    try {
        auto* columns = dynamic_cast<TCollection*>(GetObjectProp(control, "Columns"));
        if (columns == nullptr) return false;
        TPropList itemProperties;
        columns->GetItemProperties(itemProperties);
        return FindPropInfo(itemProperties, "FieldName") != nullptr;
    } catch (const Exception&) {
        // A grid whose columns cannot be read is one we cannot export.
        return false;
    }
}

}  // namespace

std::optional<TGridKind> ClassifyGrid(const TCustomControl& control) {
    if (!PublishesProperty(control, "DataSource", TPropKind::Object)) return std::nullopt;
    if (PublishesProperty(control, "Columns", TPropKind::Object)) {
        if (HasFieldColumns(control)) return TGridKind::Columns;
        return std::nullopt;
    }
    if (PublishesProperty(control, "Selected", TPropKind::Object)) return TGridKind::Selected;
    if (PublishesProperty(control, "Fields", TPropKind::Object)) return TGridKind::Fields;
    return std::nullopt;
}

}  // namespace mlt
