#include "cli/ReportJob.h"

#include <chrono>
#include <cstdio>

#include "cli/Interrupt.h"
#include "cli/RecordSourceChoice.h"
#include "cli/TerminalProgress.h"
#include "component/ExportRecipe.h"
#include "data/ADODataSet.h"
#include "rtl/Exception.h"
#include "rtl/Host.h"
#include "rtl/Terminal.h"

namespace mlt {

namespace {

void ApplyExtras(TDorvexToPDF& exporter, const TReportOptions& options, bool showProgress) {
    exporter.Layout = options.Layout;
    exporter.RowsPerFile = options.RowsPerFile;
    for (const auto& line : options.Header) exporter.Header.Add(line);
    for (const auto& line : options.Footer) exporter.Footer.Add(line);
    if (options.Style) {
        exporter.ColorStyle.SetStyle(*options.Style);
        if (options.RowColorsGiven) {
            exporter.ColorStyle.OddColor = options.Settings.OddColor;
            exporter.ColorStyle.EvenColor = options.Settings.EvenColor;
        }
    }
    if (options.Oem) exporter.CharacterSet = csASCII_MSDOS;
    exporter.AnimatedStatus = showProgress;
    // Messages (a failure, a mail error) come to the host, which prints the errors.
    exporter.Options |= soShowMessage;
    if (options.Open) exporter.ActionAfterExport = aeOpenView;
    if (!options.MailTo.empty()) {
        exporter.ActionAfterExport = aeEMail;
        exporter.SendTo.EMailRecipient = options.MailTo;
        exporter.SendTo.EMailSubject = options.MailSubject;
        exporter.SendTo.EMailBody = options.MailBody;
        exporter.SendTo.EMailOpenBeforeSend = false;
    }
    // Without a window, Ctrl-C reaches the run through the per-record hook.
    exporter.OnProgress = [](TPersistent&, int, int, bool& abort) { abort = abort || InterruptRequested(); };
}

bool WriteAll(std::FILE* out, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
}

}  // namespace

int RunReport(const TReportOptions& options, std::FILE* err) {
    const bool showProgress = !options.Quiet && IsTerminal(err);
    std::vector<std::string> errors;
    Host().MessageBox = [&](const std::string& text, TMessageKind kind) {
        if (kind == TMessageKind::Error) errors.push_back(text);
    };
    Host().CreateProgressWindow = [err] { return std::make_unique<TTerminalProgress>(err); };
    InstallInterruptHandler();
    auto started = std::chrono::steady_clock::now();

    int records = 0;
    std::uint8_t result = 0;
    try {
        TADODataSet dataSet;
        dataSet.SetRecordset(OpenRecordSource(options));
        std::unique_ptr<TDorvexToPDF> exporter = CreateExporter(options.Settings, dataSet, options.MaxRecords);
        ApplyExtras(*exporter, options, showProgress);
        auto count = exporter->OnProgress;
        // The run announces each record before it writes it (cur < max), and ends with
        // cur == max, whatever the record limit or a cancel left out.
        exporter->OnProgress = [&records, count](TPersistent& sender, int cur, int max, bool& abort) {
            if (cur < max) records = cur + 1;
            count(sender, cur, max, abort);
        };
        if (options.Output == "-") {
            TMemoryStream stream;
            exporter->ExportToStream(&stream);
            if (!WriteAll(stdout, stream.Memory())) throw EInOutError("cannot write the report to standard output");
        } else {
            exporter->FileName = options.Output;
            exporter->Execute();
        }
        result = exporter->ExportResult;
        if (result == 3) exporter->RemoveCreatedFiles();
    } catch (const Exception& error) {
        errors.push_back(error.Message);
        result = 3;
    }
    Host().MessageBox = nullptr;
    Host().CreateProgressWindow = nullptr;

    if (result == 3 || result == 0) {
        std::fprintf(err, "marrowlintide: %s\n", errors.empty() ? "the export failed" : errors.front().c_str());
        return kExitFailed;
    }
    if (!errors.empty()) {
        std::fprintf(err, "marrowlintide: %s\n", errors.front().c_str());
        return kExitFailed;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (result == 2) {
        std::fprintf(err, "marrowlintide: canceled; the report holds the %d records written before\n", records);
        return kExitCanceled;
    }
    if (showProgress && options.Output != "-")
        std::fprintf(err, "%s: %d records in %.2f s\n", options.Output.c_str(), records, seconds);
    return kExitCompleted;
}

}  // namespace mlt
