#include "component/ExportRecipe.h"

#include "component/FieldList.h"
#include "component/ModernWriter.h"
#include "rtl/Exception.h"

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

bool IsNumericField(const TField& field) {
    switch (field.DataType()) {
        case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD:
        case ftAutoInc: case ftLargeint: case ftFMTBcd:
            return true;
        default:
            return false;
    }
}

// The modern report right-aligns numbers whose alignment the list leaves open.
void AddColumns(TDorvexToPDF& exporter, const TMarrowlintideSettings& settings, TDataSet& dataSet,
                bool numbersRight) {
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
        if (numbersRight && FieldListItem(settings.FieldsAlignment, i).empty() && IsNumericField(field)) {
            column.Alignment = taRightJustify;
            column.Title.Alignment = taRightJustify;
        }
    }
}

void ApplyColors(TDorvexToPDF& exporter, const TReportDescription& report) {
    // The style comes first: choosing it replaces both colours.
    exporter.ColorStyle.SetStyle(report.Style.value_or(esBrick));
    if (!report.Style || report.RowColorsGiven) {
        exporter.ColorStyle.OddColor = report.Settings.OddColor;
        exporter.ColorStyle.EvenColor = report.Settings.EvenColor;
    }
    if (report.Settings.CaptionColor != -1) exporter.SetCaptionColor(report.Settings.CaptionColor);
}

void ApplyActionAfterExport(TDorvexToPDF& exporter, const TReportDescription& report) {
    exporter.ActionAfterExport = report.ActionAfterExport;
    if (report.ActionAfterExport != aeEMail) return;
    exporter.SendTo.EMailRecipient = report.MailTo;
    exporter.SendTo.EMailSubject = report.MailSubject;
    exporter.SendTo.EMailBody = report.MailBody;
    exporter.SendTo.EMailOpenBeforeSend = false;
}

}  // namespace

std::unique_ptr<TDorvexToPDF> CreateReportWriter(const TReportDescription& report, TDataSet& dataSet) {
    const TMarrowlintideSettings& settings = report.Settings;
    if (report.TextForm() != TextForm())
        throw Exception(report.TextForm() == TTextForm::Utf8 ? "The report embeds fonts for UTF-8 text, but the texts are not UTF-8"
                                                              : "The report's fonts take the system code page, but the texts are UTF-8");
    // The modern report lays out a record a row; the other layouts stay with the exact writer.
    const bool modern = report.IsModern();
    std::unique_ptr<TDorvexToPDF> exporter =
        modern ? CreateModernWriter(report, dataSet.FieldCount()) : std::make_unique<TDorvexToPDF>();
    ApplyColors(*exporter, report);
    exporter->SetPageWidth(settings.PageWidth);
    exporter->SetPageHeight(settings.PageHeight);
    AddColumns(*exporter, settings, dataSet, modern);
    exporter->SetDataSet(&dataSet);
    exporter->RecordLimit = report.MaxRecords;
    exporter->DataFormats.BooleanTrue = settings.TrueString;
    exporter->DataFormats.BooleanFalse = settings.FalseString;
    exporter->DataFormats.DateOrder = DateOrderOf(settings.DateFormat, exporter->DataFormats.DateOrder);
    exporter->DataFormats.FourDigitYear = settings.FourDigitYear;
    exporter->AddTitle = settings.ShowCaption;
    exporter->Options = soDisableControls;
    exporter->AnimatedStatus = report.ShowProgress;
    exporter->ColumnSource = csDataSet;
    exporter->BlankIfZero = settings.BlankIfZero;
    exporter->KeyGenerator = "Marrowlintide";
    exporter->Layout = report.Layout;
    for (const auto& line : report.Header) exporter->Header.Add(line);
    for (const auto& line : report.Footer) exporter->Footer.Add(line);
    if (report.Oem) exporter->CharacterSet = csASCII_MSDOS;
    if (!report.FileName.empty()) exporter->FileName = report.FileName;
    exporter->RowsPerFile = report.RowsPerFile;
    ApplyActionAfterExport(*exporter, report);
    return exporter;
}

}  // namespace mlt
