#include "cli/CommandLine.h"

#include <algorithm>
#include <functional>
#include <map>

#include "component/FieldList.h"
#include "rtl/TextUtils.h"

namespace mlt {

// Every option listed here is also described in marrowlintide.1 and offered by
// marrowlintide.bash; the cli_docs test fails when one of them lacks it.
const char* const kUsage =
    "Usage: marrowlintide report (--db FILE | --odbc CONNECTION | --dsn NAME) --sql QUERY [-o OUT.pdf | -o -] [options]\n"
    "       marrowlintide report --csv FILE|- [-o OUT.pdf | -o -] [options]\n"
    "       marrowlintide --help | --version\n"
    "\n"
    "Writes the records of a query or a CSV file as a paginated PDF table report.\n"
    "\n"
    "Source:\n"
    "  --db FILE               SQLite database (opened read-only)\n"
    "  --odbc CONNECTION       ODBC connection string: \"Driver=PostgreSQL Unicode;Server=...\"\n"
    "  --dsn NAME              ODBC data source name\n"
    "                          (a password can come from MARROWLINTIDE_ODBC_PASSWORD)\n"
    "  --sql QUERY             query whose rows become the report's rows\n"
    "  --graphic-columns LIST  binary columns that hold pictures: photo,logo\n"
    "  --csv FILE              CSV file (RFC 4180); - reads standard input\n"
    "  --csv-no-header         the CSV file's first line is data\n"
    "  --csv-types LIST        column types: text,int,real,date,datetime,time,bool\n"
    "  --csv-delimiter C       field separator: , (default), ;, tab, | or auto\n"
    "  --csv-encoding NAME     utf-8 (default), windows-1252 or latin-1\n"
    "Output:\n"
    "  -o, --output FILE       the PDF file (default report.pdf); - writes to standard output\n"
    "  --max-records N         export at most N records (0: all)\n"
    "  --rows-per-file N       start a new numbered file every N records\n"
    "  --classic               the exact classic layout (one page wide as the table, captions\n"
    "                          on page 1 only, no page numbers), as the Windows component writes\n"
    "  --no-compress           leave the modern report's streams uncompressed\n"
    "Page:\n"
    "  --page-size NAME        letter (612x792, default), a4 (595x842) or legal (612x1008)\n"
    "  --page-width N          page width in points\n"
    "  --page-height N         page height in points\n"
    "  --orientation NAME      auto (default: landscape when the table is wider than the page),\n"
    "                          portrait or landscape\n"
    "  --layout NAME           columnar (default), reversed or tabular (these two: classic)\n"
    "Columns:\n"
    "  --fields-width LIST     widths in characters, by field position: 10,,30\n"
    "  --fields-alignment LIST L, R or C by field position: ,R,C\n"
    "  --fields-caption LIST   captions by field position: Id,,Name\n"
    "  --fields-format LIST    number and date patterns by field position: ,#,##0.00,yyyy-mm-dd\n"
    "  --no-caption            no captions row\n"
    "  --blank-if-zero         zero numbers, zero dates and nulls become empty cells\n"
    "Colours (decimal TColor, $BBGGRR or #RRGGBB):\n"
    "  --odd-color C           odd record rows (default #F2F2F2)\n"
    "  --even-color C          even record rows (default #FFFFFF)\n"
    "  --caption-color C       cells without a field, such as the captions row\n"
    "  --style NAME            a colour style: normal, pricelist, msmoney, brick, desert,\n"
    "                          eggplant, lilac, maple, marine, rose, spruce, wheat\n"
    "Text:\n"
    "  --title TEXT            a title on every page and in the document's properties\n"
    "  --header LINE           a line before the table (repeatable)\n"
    "  --footer LINE           a line after the table (repeatable)\n"
    "  --oem                   convert texts to the OEM (MS-DOS) code page\n"
    "Fonts of the modern report (TrueType files, embedded as subsets):\n"
    "  --font FILE             the text font (default DejaVu Sans); standard: the standard PDF\n"
    "                          fonts, which show Windows-1252 text only\n"
    "  --font-bold FILE        the captions' and title's font (default DejaVu Sans Bold)\n"
    "  --fallback-font FILE    for characters the fonts lack (repeatable; default: an installed\n"
    "                          CJK font such as WenQuanYi Micro Hei)\n"
    "After the export:\n"
    "  --open                  open the report with the desktop's viewer\n"
    "  --mail-to ADDRESS       mail the report (through MARROWLINTIDE_SENDMAIL or sendmail)\n"
    "  --mail-subject TEXT     the mail's subject (default: Marrowlintide)\n"
    "  --mail-body TEXT        the mail's text\n"
    "  -q, --quiet             no progress bar\n"
    "\n"
    "Exit status: 0 completed, 1 failed, 2 bad usage, 130 canceled (Ctrl-C).\n";

namespace {

std::int32_t ParseInteger(const std::string& option, const std::string& text) {
    std::optional<std::int32_t> value = TryStrToInt(text);
    if (!value) throw TUsageError(option + " needs a whole number, not \"" + text + "\"");
    return *value;
}

std::int32_t ParsePositive(const std::string& option, const std::string& text) {
    std::int32_t value = ParseInteger(option, text);
    if (value <= 0) throw TUsageError(option + " must be greater than 0");
    return value;
}

std::int32_t ParseCount(const std::string& option, const std::string& text) {
    std::int32_t value = ParseInteger(option, text);
    if (value < 0) throw TUsageError(option + " must not be negative");
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The component reads an unreadable width as 0; on a command line it is a typo.
void CheckWidthList(const std::string& list) {
    if (list.empty()) return;
    const auto items = static_cast<int>(std::count(list.begin(), list.end(), ',')) + 1;
    for (int i = 0; i < items; ++i) {
        std::string item = FieldListItem(list, i);
        if (!item.empty() && !TryStrToInt(item))
            throw TUsageError("--fields-width item " + std::to_string(i + 1) + " \"" + item + "\" is not a number");
    }
}

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    const auto count = static_cast<int>(std::count(list.begin(), list.end(), ',')) + 1;
    for (int i = 0; i < count; ++i)
        if (std::string item = FieldListItem(list, i); !item.empty()) items.push_back(item);
    return items;
}

std::string ParseDelimiter(const std::string& text) {
    std::string name = UpperCase(text);
    if (name == "AUTO") return "auto";
    if (name == "TAB" || text == "\\t") return "\t";
    if (text.size() != 1 || text == "\"" || text == "\r" || text == "\n")
        throw TUsageError("--csv-delimiter takes one character, tab or auto, not \"" + text + "\"");
    return text;
}

}  // namespace

std::int32_t ParseColor(const std::string& text) {
    if (!text.empty() && text[0] == '#') {
        if (text.size() != 7) throw TUsageError("colour \"" + text + "\" is not #RRGGBB");
        std::int32_t rgb = 0;
        for (std::size_t i = 1; i < 7; ++i) {
            int digit = HexDigit(text[i]);
            if (digit < 0) throw TUsageError("colour \"" + text + "\" is not #RRGGBB");
            rgb = rgb * 16 + digit;
        }
        // TColor holds red in the low byte.
        return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    }
    std::optional<std::int32_t> value = TryStrToInt(text);
    if (!value) throw TUsageError("colour \"" + text + "\" is not a TColor, $BBGGRR or #RRGGBB");
    return *value;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine line;
    TReportOptions& r = line.Report;
    r.Report.Settings.ApplyDefaults();
    r.Report.Writer = TReportWriterKind::Modern;
    bool open = false;
    if (args.empty()) throw TUsageError("no command given");
    std::size_t i = 0;
    if (args[0] == "--help" || args[0] == "-h") {
        line.Command = TCommand::Help;
        return line;
    }
    if (args[0] == "--version") {
        line.Command = TCommand::Version;
        return line;
    }
    if (args[0] != "report") throw TUsageError("unknown command \"" + args[0] + "\"");
    ++i;

    // The report's own texts arrive as UTF-8 and stay so here: the run converts them to
    // its texts' form (ReportJob.cpp), as the sources convert theirs.
    using Handler = std::function<void(const std::string&)>;
    const std::map<std::string, Handler> withValue = {
        {"--db", [&](const std::string& v) { r.Database = v; }},
        {"--sql", [&](const std::string& v) { r.Sql = v; }},
        {"--odbc", [&](const std::string& v) { r.Odbc = v; }},
        {"--dsn", [&](const std::string& v) { r.Dsn = v; }},
        {"--graphic-columns", [&](const std::string& v) { r.GraphicColumns = SplitList(v); }},
        {"--csv-delimiter", [&](const std::string& v) { r.CsvDelimiter = ParseDelimiter(v); }},
        {"--csv-encoding",
         [&](const std::string& v) {
             std::string name = UpperCase(v);
             if (name != "UTF-8" && name != "WINDOWS-1252" && name != "LATIN-1")
                 throw TUsageError("--csv-encoding takes utf-8, windows-1252 or latin-1, not \"" + v + "\"");
             r.CsvEncoding = name;
         }},
        {"--csv", [&](const std::string& v) { r.CsvFile = v; }},
        {"--csv-types", [&](const std::string& v) { r.CsvTypes = v; }},
        {"-o", [&](const std::string& v) { r.Output = v; }},
        {"--output", [&](const std::string& v) { r.Output = v; }},
        {"--max-records", [&](const std::string& v) { r.Report.MaxRecords = ParseCount("--max-records", v); }},
        {"--rows-per-file", [&](const std::string& v) { r.Report.RowsPerFile = ParseCount("--rows-per-file", v); }},
        {"--page-width", [&](const std::string& v) { r.Report.Settings.PageWidth = ParsePositive("--page-width", v); }},
        {"--page-height", [&](const std::string& v) { r.Report.Settings.PageHeight = ParsePositive("--page-height", v); }},
        {"--page-size",
         [&](const std::string& v) {
             std::string name = UpperCase(v);
             if (name == "LETTER") r.Report.Settings.SetPageSize(612, 792);
             else if (name == "A4") r.Report.Settings.SetPageSize(595, 842);
             else if (name == "LEGAL") r.Report.Settings.SetPageSize(612, 1008);
             else throw TUsageError("--page-size takes letter, a4 or legal, not \"" + v + "\"");
         }},
        {"--layout",
         [&](const std::string& v) {
             std::string name = UpperCase(v);
             if (name == "COLUMNAR") r.Report.Layout = elColumnar;
             else if (name == "REVERSED") r.Report.Layout = elReversedColumnar;
             else if (name == "TABULAR") r.Report.Layout = elTabularForm;
             else throw TUsageError("--layout takes columnar, reversed or tabular, not \"" + v + "\"");
         }},
        {"--fields-width", [&](const std::string& v) { r.Report.Settings.FieldsWidth = v; }},
        {"--fields-alignment", [&](const std::string& v) { r.Report.Settings.FieldsAlignment = v; }},
        {"--fields-caption", [&](const std::string& v) { r.Report.Settings.FieldsCaption = v; }},
        {"--odd-color",
         [&](const std::string& v) {
             r.Report.Settings.OddColor = ParseColor(v);
             r.Report.RowColorsGiven = true;
         }},
        {"--even-color",
         [&](const std::string& v) {
             r.Report.Settings.EvenColor = ParseColor(v);
             r.Report.RowColorsGiven = true;
         }},
        {"--caption-color", [&](const std::string& v) { r.Report.Settings.CaptionColor = ParseColor(v); }},
        {"--style",
         [&](const std::string& v) {
             TDvxStyle style;
             if (!FindStyle(v, style)) throw TUsageError("unknown style \"" + v + "\"");
             r.Report.Style = style;
         }},
        {"--header", [&](const std::string& v) { r.Report.Header.push_back(v); }},
        {"--title", [&](const std::string& v) { r.Report.Title = v; }},
        {"--fields-format", [&](const std::string& v) { r.Report.FieldsFormat = v; }},
        {"--orientation",
         [&](const std::string& v) {
             std::string name = UpperCase(v);
             if (name == "AUTO") r.Report.Orientation = TPageOrientation::Auto;
             else if (name == "PORTRAIT") r.Report.Orientation = TPageOrientation::Portrait;
             else if (name == "LANDSCAPE") r.Report.Orientation = TPageOrientation::Landscape;
             else throw TUsageError("--orientation takes auto, portrait or landscape, not \"" + v + "\"");
         }},
        {"--footer", [&](const std::string& v) { r.Report.Footer.push_back(v); }},
        {"--mail-to",
         [&](const std::string& v) {
             r.Report.ActionAfterExport = v.empty() ? aeNone : aeEMail;
             r.Report.MailTo = v;
         }},
        {"--font",
         [&](const std::string& v) {
             r.Report.StandardFonts = v == "standard";
             r.Report.Font = r.Report.StandardFonts ? "" : v;
         }},
        {"--font-bold", [&](const std::string& v) { r.Report.BoldFont = v; }},
        {"--fallback-font", [&](const std::string& v) { r.Report.FallbackFonts.push_back(v); }},
        {"--mail-subject", [&](const std::string& v) { r.Report.MailSubject = v; }},
        {"--mail-body", [&](const std::string& v) { r.Report.MailBody = v; }},
    };
    const std::map<std::string, std::function<void()>> flags = {
        {"--csv-no-header", [&] { r.CsvHeader = false; }},
        {"--no-caption", [&] { r.Report.Settings.ShowCaption = false; }},
        {"--blank-if-zero", [&] { r.Report.Settings.BlankIfZero = true; }},
        {"--oem", [&] { r.Report.Oem = true; }},
        {"--classic", [&] { r.Report.Writer = TReportWriterKind::Classic; }},
        {"--no-compress", [&] { r.Report.Compress = false; }},
        {"--open", [&] { open = true; }},
        {"-q", [&] { r.Quiet = true; }},
        {"--quiet", [&] { r.Quiet = true; }},
    };

    for (; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "--help" || name == "-h") {
            line.Command = TCommand::Help;
            return line;
        }
        if (auto flag = flags.find(name); flag != flags.end() && !inlineValue) {
            flag->second();
            continue;
        }
        auto option = withValue.find(name);
        if (option == withValue.end()) throw TUsageError("unknown option \"" + args[i] + "\"");
        if (!inlineValue && i + 1 >= args.size()) throw TUsageError(name + " needs a value");
        option->second(inlineValue ? *inlineValue : args[++i]);
    }

    const int databases = !r.Database.empty() + !r.Odbc.empty() + !r.Dsn.empty();
    const bool fromDb = databases > 0 || !r.Sql.empty();
    if (databases > 1) throw TUsageError("give one of --db, --odbc and --dsn");
    if (fromDb && !r.CsvFile.empty()) throw TUsageError("give either a database and --sql, or --csv, not both");
    if (!fromDb && r.CsvFile.empty())
        throw TUsageError("no source: give --db FILE, --odbc CONNECTION or --dsn NAME with --sql QUERY, or --csv FILE");
    if (fromDb && (databases == 0 || r.Sql.empty())) throw TUsageError("--sql goes with one of --db, --odbc and --dsn");
    if (!r.GraphicColumns.empty() && r.Odbc.empty() && r.Dsn.empty())
        throw TUsageError("--graphic-columns goes with --odbc or --dsn");
    if (r.Output.empty()) throw TUsageError("the output file name is empty");
    CheckWidthList(r.Report.Settings.FieldsWidth);
    const bool mail = r.Report.ActionAfterExport == aeEMail;
    if (open && mail) throw TUsageError("--open and --mail-to cannot go together");
    if (open) r.Report.ActionAfterExport = aeOpenView;
    if (r.Output == "-" && r.Report.RowsPerFile > 0) throw TUsageError("--rows-per-file needs an output file, not -");
    if (r.Output == "-" && (open || mail)) throw TUsageError("--open and --mail-to need an output file, not -");
    return line;
}

}  // namespace mlt
