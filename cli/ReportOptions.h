// What `marrowlintide report` was asked to do: the source, the output, and the report's
// description (its settings, layout and after-export actions).
#pragma once

#include <string>
#include <vector>

#include "component/ReportDescription.h"

namespace mlt {

struct TReportOptions {
    std::string Database;
    std::string Sql;
    std::string Odbc;  // an ODBC connection string
    std::string Dsn;   // an ODBC data source name
    std::vector<std::string> GraphicColumns;
    std::string CsvFile;  // "-" is standard input
    bool CsvHeader = true;
    std::string CsvTypes;
    std::string CsvDelimiter;  // one character, or "auto"; empty is a comma
    std::string CsvEncoding;   // utf-8 (the default), windows-1252 or latin-1
    std::string Output = "report.pdf";  // "-" is standard output
    bool Quiet = false;

    TReportDescription Report;  // with the component's default settings
};

}  // namespace mlt
