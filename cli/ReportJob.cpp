#include "cli/ReportJob.h"

#include <chrono>
#include <cstdio>

#include "cli/Interrupt.h"
#include "cli/RecordSourceChoice.h"
#include "cli/TerminalProgress.h"
#include "component/ExportRecipe.h"
#include "data/ADODataSet.h"
#include "pdf/fonts/FontChain.h"
#include "rtl/CodePage.h"
#include "rtl/Exception.h"
#include "rtl/FileStream.h"
#include "rtl/Host.h"
#include "rtl/Terminal.h"

namespace mlt {

namespace {

// The command line's texts, given as UTF-8, in the form that the report holds its texts.
void ConvertTexts(TReportDescription& report) {
    for (std::string* text : {&report.Title, &report.FieldsFormat, &report.Settings.FieldsCaption, &report.MailSubject,
                              &report.MailBody})
        *text = Utf8ToAnsi(*text);
    for (auto* lines : {&report.Header, &report.Footer})
        for (std::string& line : *lines) line = Utf8ToAnsi(line);
}

}  // namespace

int RunReport(const TReportOptions& options, std::FILE* err) {
    TReportDescription report = options.Report;
    // Set before any text is read: the sources convert theirs under it.
    SetTextForm(report.TextForm());
    ConvertTexts(report);
    report.ShowProgress = !options.Quiet && IsTerminal(err);
    if (options.Output != "-") report.FileName = options.Output;
    Host().CreateProgressWindow = [err] { return std::make_unique<TTerminalProgress>(err); };
    InstallInterruptHandler();
    auto started = std::chrono::steady_clock::now();
    const std::int64_t replacedBefore = ReplacedCharacterCount(), missingBefore = MissingCharacterCount();

    int records = 0;
    TExportResult result = TExportResult::Failed;
    std::string error;
    try {
        // Standard output is taken first, so that a closed one cannot lend its number to
        // a file that the source opens.
        std::unique_ptr<TFileStream> out;
        if (options.Output == "-")
            out = std::make_unique<TFileStream>(FileHandle::StandardOutput(), "standard output", TFileMode::Create);
        TADODataSet dataSet;
        dataSet.SetRecordset(OpenRecordSource(options));
        std::unique_ptr<TDorvexToPDF> exporter = CreateReportWriter(report, dataSet);
        // The run announces each record before it writes it (cur < max), and ends with
        // cur == max, whatever the record limit or a cancel left out. Without a window,
        // Ctrl-C reaches the run here.
        exporter->OnProgress = [&records](TPersistent&, int cur, int max, bool& abort) {
            if (cur < max) records = cur + 1;
            abort = abort || InterruptRequested();
        };
        if (out) {
            // Written as it is made: no more of the document than a buffer waits in memory.
            exporter->ExportToStream(out.get());
            out->Close();
        } else {
            exporter->Execute();
        }
        result = exporter->ExportResult;
        error = exporter->LastError;
    } catch (const Exception& failure) {
        error = failure.Message;
        result = TExportResult::Failed;
    }
    Host().CreateProgressWindow = nullptr;

    // Ctrl-C while the database prepared or counted: nothing was written.
    if (result == TExportResult::Failed && InterruptRequested()) {
        std::fprintf(err, "marrowlintide: canceled before the first record; no report was written\n");
        return kExitCanceled;
    }
    if (result == TExportResult::Failed || !error.empty()) {
        std::fprintf(err, "marrowlintide: %s\n", error.empty() ? "the export failed" : error.c_str());
        return kExitFailed;
    }
    // The modern report reads the records twice to fit its widths, so only the exact
    // report's count is one per character.
    if (std::int64_t replaced = ReplacedCharacterCount() - replacedBefore) {
        if (!report.IsModern())
            std::fprintf(err, "marrowlintide: %lld %s not in Windows-1252 and show as \"?\"; the modern report can show them\n",
                         static_cast<long long>(replaced), replaced == 1 ? "character is" : "characters are");
        else
            std::fprintf(err, "marrowlintide: some characters are not in Windows-1252 and show as \"?\"\n");
    }
    if (std::int64_t missing = MissingCharacterCount() - missingBefore)
        std::fprintf(err, "marrowlintide: %lld %s in none of the report's fonts; --fallback-font can add one that has %s\n",
                     static_cast<long long>(missing), missing == 1 ? "character is" : "characters are",
                     missing == 1 ? "it" : "them");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (result == TExportResult::Canceled) {
        std::fprintf(err, "marrowlintide: canceled; the report holds the %d records written before\n", records);
        return kExitCanceled;
    }
    if (report.ShowProgress && options.Output != "-")
        std::fprintf(err, "%s: %d records in %.2f s\n", options.Output.c_str(), records, seconds);
    return kExitCompleted;
}

}  // namespace mlt
