#include "component/FieldList.h"
#include "component/ModernWriter.h"
#include "component/ReportFonts.h"
#include "pdf/ModernPDF.h"

namespace mlt {

std::unique_ptr<TDorvexToPDF> CreateModernWriter(const TReportDescription& report, int fieldCount) {
    auto writer = std::make_unique<TModernPDF>();
    writer->Title = report.Title;
    writer->Orientation = report.Orientation;
    writer->Compress = report.Compress;
    if (report.TextForm() == TTextForm::Utf8) writer->FontFactory = ReportFontFactory(report);
    writer->Formats = FieldListFormats(report.FieldsFormat);
    for (int i = 0; i < fieldCount; ++i)
        writer->UserWidths.push_back(std::max(0, FieldListWidth(report.Settings.FieldsWidth, i)));
    return writer;
}

}  // namespace mlt
