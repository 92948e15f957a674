// TReportDescription: every setting a report can have, from any face, in one value. The
// COM object fills it from its properties and always asks for the exact writer; the
// command fills it from its options and asks for the modern one unless --classic. CreateReportWriter
// (component/ExportRecipe.h) turns it into the writer that runs the report. Nothing
// adjusts the writer afterwards, so the description is the whole truth about a report.
// Texts are held in the form TextForm() names (the system code page, or UTF-8 for the
// modern report with embedded fonts); each face converts its own texts at its edge.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "component/MarrowlintideSettings.h"
#include "export/DorvexBaseComponent.h"
#include "export/DorvexStyle.h"
#include "pdf/PageOrientation.h"
#include "rtl/CodePage.h"

namespace mlt {

// The exact writer of the DLL (and --classic), or the modern report of the command.
enum class TReportWriterKind { Classic, Modern };

struct TReportDescription {
    TReportDescription() = default;
    explicit TReportDescription(const TMarrowlintideSettings& settings, int maxRecords = 0)
        : Settings(settings), MaxRecords(maxRecords) {}

    // Source-independent settings: the component's own, with its defaults applied by
    // whoever fills them.
    TMarrowlintideSettings Settings;
    int MaxRecords = 0;  // 0: every record
    TReportWriterKind Writer = TReportWriterKind::Classic;

    // Layout.
    TDvxLayout Layout = elColumnar;
    // A colour style; none keeps the brick style's rules with the rows in Settings'
    // colours. With a style, Settings' row colours count only when RowColorsGiven.
    std::optional<TDvxStyle> Style;
    bool RowColorsGiven = false;
    std::vector<std::string> Header;  // lines before the table
    std::vector<std::string> Footer;  // lines after the table
    bool Oem = false;                 // texts in the OEM (MS-DOS) code page
    // The modern report's own settings; the exact writer has none of them.
    std::string Title;
    TPageOrientation Orientation = TPageOrientation::Auto;
    std::string FieldsFormat;  // a comma list of patterns, as FieldListFormats reads it
    // The modern report's fonts: TrueType files (empty: DejaVu Sans and DejaVu Sans Bold)
    // and fallbacks for the characters they lack (none: a CJK font that Debian installs,
    // when there is one); or the standard PDF fonts, which show the system code page only.
    bool StandardFonts = false;
    std::string Font;
    std::string BoldFont;
    std::vector<std::string> FallbackFonts;

    // Output.
    std::string FileName;  // empty: the caller writes the report to a stream
    int RowsPerFile = 0;   // 0: one file
    bool ShowProgress = false;
    bool Compress = true;  // the modern report's streams

    // After the export.
    TActionAfterExport ActionAfterExport = aeNone;
    std::string MailTo;
    std::string MailSubject;  // empty: "Marrowlintide"
    std::string MailBody;

    // The modern writer does the columnar layout; the exact writer every other one.
    bool IsModern() const { return Writer == TReportWriterKind::Modern && Layout == elColumnar; }
    // UTF-8 where the report embeds its fonts; the OEM code page is a form of the
    // system code page's text.
    TTextForm TextForm() const {
        return IsModern() && !StandardFonts && !Oem ? TTextForm::Utf8 : TTextForm::SystemCodePage;
    }
};

}  // namespace mlt
