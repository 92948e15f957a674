#include "export/DvxWWGridDataEngines.h"

#include "data/DataSource.h"
#include "export/DvxMessages.h"
#include "export/GridColumnWidth.h"
#include "rtl/Exception.h"
#include "rtl/Font.h"
#include "rtl/PropertyAccess.h"
#include "rtl/Strings.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

// One object's published properties, read once for several lookups by name and kind.
class PublishedOf {
public:
    explicit PublishedOf(const TPersistent& object) : object_(object) { object.GetPublishedProperties(list_); }

    const TPropInfo* Find(std::string_view name, TPropKind kind) const {
        const TPropInfo* info = FindPropInfo(list_, name);
        return info != nullptr && info->Kind == kind ? info : nullptr;
    }
    void ReadString(std::string_view name, std::string& value) const {
        if (const TPropInfo* info = Find(name, TPropKind::String)) value = info->GetString(object_);
    }
    void ReadColor(std::string_view name, TColor& value) const {
        if (const TPropInfo* info = Find(name, TPropKind::Integer))
            value = static_cast<TColor>(info->GetOrdinal(object_));
    }
    void ReadBoolean(std::string_view name, bool& value) const {
        if (const TPropInfo* info = Find(name, TPropKind::Integer)) value = info->GetOrdinal(object_) != 0;
    }
    // An ordinal outside the alignments leaves the value as it was.
    void ReadAlignment(std::string_view name, TAlignment& value) const {
        if (const TPropInfo* info = Find(name, TPropKind::Integer)) {
            std::int64_t ordinal = info->GetOrdinal(object_);
            if (ordinal >= taLeftJustify && ordinal <= taCenter) value = static_cast<TAlignment>(ordinal);
        }
    }
    // Copies the attributes of an assigned object property into the font.
    void ReadFont(std::string_view name, TFont& font) const {
        if (TPersistent* source = Object(name)) font.Assign(*source);
    }
    TPersistent* Object(std::string_view name) const {
        const TPropInfo* info = Find(name, TPropKind::Object);
        return info != nullptr ? info->GetObject(object_) : nullptr;
    }

private:
    const TPersistent& object_;
    TPropList list_;
};

// "Alignment", "Color" and "Font", which both a grid column and its title may publish.
template <typename Target>
void ReadLook(const PublishedOf& properties, Target& target) {
    properties.ReadAlignment("Alignment", target.Alignment);
    properties.ReadColor("Color", target.Color);
    properties.ReadFont("Font", target.Font);
}

int VisitedIndex(int k, int n, bool rightToLeft) { return rightToLeft ? n - 1 - k : k; }

}  // namespace

void TDvxWWGridDataEngineBase::SetDBGrid(TCustomControl* grid) {
    if (grid == grid_) return;
    if (grid != nullptr && ClassifyGrid(*grid) != Kind())
        throw Exception(FormatMessage(DefaultMessage(msgPropertyNotSpecified), grid->Name));
    if (grid_ != nullptr) RemoveFreeNotification(grid_);
    grid_ = grid;
    if (grid_ != nullptr) FreeNotification(grid_);
}

void TDvxWWGridDataEngineBase::Notification(TComponent* component, TOperation operation) {
    TDvxCustomDBDataEngine::Notification(component, operation);
    if (operation == TOperation::opRemove && component == grid_) grid_ = nullptr;
}

TDataSet* TDvxWWGridDataEngineBase::GetDataset() {
    if (grid_ == nullptr) return nullptr;
    auto* source = dynamic_cast<TDataSource*>(GetObjectProp(*grid_, "DataSource"));
    return source != nullptr ? source->DataSet() : nullptr;
}

void TDvxwwDBGridDataEngine::FillColumns(TDvxColumns& columns, bool rightToLeft) {
    columns.Clear();
    if (grid_ == nullptr) return;
    auto* selected = dynamic_cast<TStrings*>(GetObjectProp(*grid_, "Selected"));
    TDataSet* dataset = GetDataset();
    if (selected == nullptr || dataset == nullptr) return;

    // An empty selection is filled with the visible fields; the grid keeps these lines.
    if (selected->Count() == 0)
        for (int i = 0; i < dataset->FieldCount(); ++i) {
            const TField& field = dataset->Fields(i);
            if (field.Visible)
                selected->Add(field.FieldName + '\t' + IntToStr(field.DisplayWidth) + '\t' + field.DisplayName());
        }

    const PublishedOf gridProperties(*grid_);
    const int n = selected->Count();
    for (int k = 0; k < n; ++k) {
        const std::string& line = (*selected)[VisitedIndex(k, n, rightToLeft)];
        const std::string fieldName = line.substr(0, line.find('\t'));
        // A line naming a field the dataset lacks has nothing to show: it gives no column.
        const TField* field = dataset->FindField(fieldName);
        if (field == nullptr) continue;
        TDvxColumn& column = columns.Add();
        column.FieldName = fieldName;
        column.Alignment = field->Alignment;
        column.Width = field->DisplayWidth;
        column.Visible = field->Visible;
        column.Title.Caption = field->DisplayName();
        column.Title.Alignment = field->Alignment;
        gridProperties.ReadColor("Color", column.Color);
        gridProperties.ReadFont("Font", column.Font);
        gridProperties.ReadFont("TitleFont", column.Title.Font);
        column.Title.Color = clSilver;
    }
}

void TDvxDBAdvStringGridDataEngine::FillColumns(TDvxColumns& columns, bool rightToLeft) {
    columns.Clear();
    if (grid_ == nullptr) return;
    auto* items = dynamic_cast<TCollection*>(GetObjectProp(*grid_, "Columns"));
    if (items == nullptr) items = dynamic_cast<TCollection*>(GetObjectProp(*grid_, "Fields"));
    if (items == nullptr) return;

    const TDataSet* dataset = GetDataset();
    const int n = items->Count();
    for (int k = 0; k < n; ++k) {
        const PublishedOf item(*items->Item(VisitedIndex(k, n, rightToLeft)));
        TDvxColumn& column = columns.Add();
        item.ReadString("FieldName", column.FieldName);
        column.Width = GridColumnWidth(dataset, column.FieldName);
        ReadLook(item, column);
        item.ReadBoolean("Visible", column.Visible);
        if (TPersistent* title = item.Object("Title")) {
            const PublishedOf titleProperties(*title);
            titleProperties.ReadString("Caption", column.Title.Caption);
            ReadLook(titleProperties, column.Title);
        } else {
            item.ReadString("Title", column.Title.Caption);
        }
    }
}

}  // namespace mlt
