// marrowlintide: writes the records of a SQLite query or a CSV file as a PDF table report.
#include <cerrno>
#include <cstdio>
#include <cstring>
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
    if (line.Command == mlt::TCommand::Report) return mlt::RunReport(line.Report, stderr);
    // A closed or full standard output is a failure, not a text that was shown.
    std::fputs(line.Command == mlt::TCommand::Help ? mlt::kUsage : "marrowlintide " MLT_VERSION "\n", stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "marrowlintide: cannot write to standard output: %s\n", std::strerror(errno));
        return mlt::kExitFailed;
    }
    return mlt::kExitCompleted;
}
