// What `marrowlintide report` was asked to do: the source, the output, the component
// settings, and the framework features the component itself never uses.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "component/MarrowlintideSettings.h"
#include "export/DorvexBaseComponent.h"
#include "export/DorvexStyle.h"

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

    TMarrowlintideSettings Settings;  // with the component's defaults
    bool RowColorsGiven = false;      // --odd-color or --even-color win over --style
    int MaxRecords = 0;

    TDvxLayout Layout = elColumnar;
    int RowsPerFile = 0;
    std::vector<std::string> Header;
    std::vector<std::string> Footer;
    std::optional<TDvxStyle> Style;
    bool Oem = false;
    bool Quiet = false;

    bool Open = false;
    std::string MailTo;
    std::string MailSubject;
    std::string MailBody;
};

}  // namespace mlt
