#include "component/ExportRecipe.h"

#include "component/FieldList.h"

namespace mlt {

namespace {

TDvxDateOrder DateOrderOf(std::int32_t selector, TDvxDateOrder current) {
    switch (selector) {
        case 1: return doMDY;
        case 2: return doDMY;
        case 3: return doYMD;
        case 4: return doYDM;
        case 5: return doDYM;
        case 6: return doMYD;
        default: return current;
    }
}

void AddColumns(TDorvexToPDF& exporter, const TMarrowlintideSettings& settings, TDataSet& dataSet) {
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        TField& field = dataSet.Fields(i);
        TDvxColumn& column = exporter.Columns.Add();
        column.FieldName = field.FieldName;
        column.Width = settings.FieldsWidth.empty() ? field.Size() : FieldListWidth(settings.FieldsWidth, i);
        if (column.Width == 0) column.Width = field.DataSize();
        column.Title.Caption =
            settings.FieldsCaption.empty() ? field.FieldName : FieldListCaption(settings.FieldsCaption, i);
        if (column.Title.Caption.empty()) column.Title.Caption = field.FieldName;
        if (!settings.FieldsAlignment.empty()) {
            TAlignment alignment = FieldListAlignment(settings.FieldsAlignment, i);
            column.Alignment = alignment;
            column.Title.Alignment = alignment;
        }
    }
}

}  // namespace

std::unique_ptr<TDorvexToPDF> CreateExporter(const TMarrowlintideSettings& settings, TDataSet& dataSet,
                                             int maxRecords) {
    auto exporter = std::make_unique<TDorvexToPDF>();
    // The style comes first: choosing it replaces both colours.
    exporter->ColorStyle.SetStyle(esBrick);
    exporter->ColorStyle.OddColor = settings.OddColor;
    exporter->ColorStyle.EvenColor = settings.EvenColor;
    exporter->SetPageWidth(settings.PageWidth);
    exporter->SetPageHeight(settings.PageHeight);
    if (settings.CaptionColor != -1) exporter->SetCaptionColor(settings.CaptionColor);
    AddColumns(*exporter, settings, dataSet);
    exporter->SetDataSet(&dataSet);
    exporter->RecordLimit = maxRecords;
    exporter->DataFormats.BooleanTrue = settings.TrueString;
    exporter->DataFormats.BooleanFalse = settings.FalseString;
    exporter->DataFormats.DateOrder = DateOrderOf(settings.DateFormat, exporter->DataFormats.DateOrder);
    exporter->DataFormats.FourDigitYear = settings.FourDigitYear;
    exporter->AddTitle = settings.ShowCaption;
    exporter->Options = soDisableControls;
    exporter->AnimatedStatus = false;
    exporter->ColumnSource = csDataSet;
    exporter->BlankIfZero = settings.BlankIfZero;
    exporter->KeyGenerator = "Marrowlintide";
    return exporter;
}

}  // namespace mlt
