// marrowlintide: writes the records of a SQLite query or a CSV file as a PDF table report.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ReportJob.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    mlt::TCommandLine line;
    try {
        line = mlt::ParseCommandLine(args);
    } catch (const mlt::TUsageError& error) {
        std::fprintf(stderr, "marrowlintide: %s\nTry 'marrowlintide --help'.\n", error.Message.c_str());
        return mlt::kExitUsage;
    }
    switch (line.Command) {
        case mlt::TCommand::Help:
            std::fputs(mlt::kUsage, stdout);
            return mlt::kExitCompleted;
        case mlt::TCommand::Version:
            std::puts("marrowlintide " MLT_VERSION);
            return mlt::kExitCompleted;
        case mlt::TCommand::Report:
            break;
    }
    return mlt::RunReport(line.Report, stderr);
}
