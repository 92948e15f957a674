#include "cli/RecordSourceChoice.h"

#include <cstdlib>

#include "cli/Interrupt.h"
#include "data/CsvRecordSource.h"
#include "data/OdbcRecordSource.h"
#include "data/PrefetchedRecordSource.h"
#include "data/SqliteRecordSource.h"

namespace mlt {

namespace {

std::unique_ptr<TRecordSource> OpenInner(const TReportOptions& options) {
    if (!options.CsvFile.empty()) {
        TCsvOptions csv;
        csv.HasHeader = options.CsvHeader;
        csv.Types = ParseCsvTypes(options.CsvTypes);
        if (options.CsvDelimiter == "auto") csv.Delimiter = kAutoDelimiter;
        else if (!options.CsvDelimiter.empty()) csv.Delimiter = options.CsvDelimiter[0];
        if (options.CsvEncoding == "WINDOWS-1252") csv.Encoding = TCsvEncoding::Windows1252;
        else if (options.CsvEncoding == "LATIN-1") csv.Encoding = TCsvEncoding::Latin1;
        return std::make_unique<TCsvRecordSource>(options.CsvFile, csv);
    }
    if (!options.Odbc.empty() || !options.Dsn.empty()) {
        TOdbcSourceOptions odbc;
        // A DSN in braces may hold any character but a closing brace.
        odbc.ConnectionString = options.Dsn.empty() ? options.Odbc : "DSN={" + options.Dsn + "}";
        if (const char* password = std::getenv("MARROWLINTIDE_ODBC_PASSWORD")) odbc.Password = password;
        odbc.Sql = options.Sql;
        odbc.GraphicColumns = options.GraphicColumns;
        odbc.Cancel = &InterruptFlag();
        return TOdbcRecordSource::Open(odbc);
    }
    return TSqliteRecordSource::Open(options.Database, options.Sql, &InterruptFlag());
}

}  // namespace

std::unique_ptr<TRecordSource> OpenRecordSource(const TReportOptions& options) {
    return std::make_unique<TPrefetchedRecordSource>(OpenInner(options));
}

}  // namespace mlt
