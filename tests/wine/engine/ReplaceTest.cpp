// Putting a finished report in place on Windows, while a reader (a web server sending the
// previous report) holds the final name open without sharing deletion: the rename is
// retried for about a second; a reader that lets go in time is waited for, one that does
// not leaves the previous report in place and the new one under its temporary name.
// replace_test <dll> <output folder>; reports FAIL and END lines like the other programs.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "rtl/Exception.h"
#include "rtl/PendingFile.h"
#include "tests/wine/engine/EngineCheck.h"

using mlt::test::Check;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

HANDLE HoldOpen(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// Writes `text` as a pending file of `path` and commits it; the error, or "".
std::string Replace(const std::string& path, const std::string& text, std::string& tempPath) {
    mlt::TPendingFile file(path);
    tempPath = file.TempPath();
    file.Stream().Write(text.data(), text.size());
    file.Close();
    try {
        file.Commit();
    } catch (const mlt::Exception& error) {
        return error.Message;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string report = std::string(argv[2]) + "\\held.txt";
    std::ofstream(report, std::ios::binary) << "the previous report";
    std::string temp;

    HANDLE reader = HoldOpen(report);
    Check(reader != INVALID_HANDLE_VALUE, "the reader cannot open the report");
    std::thread letGo([reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CloseHandle(reader);
    });
    Check(Replace(report, "the report after a wait", temp).empty(), "a reader that lets go in time is not waited for");
    letGo.join();
    Check(ReadAll(report) == "the report after a wait", "the waited-for report is not in place");
    Check(GetFileAttributesA(temp.c_str()) == INVALID_FILE_ATTRIBUTES, "the waited-for report's temporary file stays");

    reader = HoldOpen(report);
    const auto start = std::chrono::steady_clock::now();
    const std::string error = Replace(report, "the new report", temp);
    const auto waited = std::chrono::steady_clock::now() - start;
    CloseHandle(reader);
    std::printf("held open: %s\n", error.c_str());
    Check(error.find("Cannot replace " + report) == 0, "a report held open is replaced, or the error says otherwise");
    Check(error.find("the new file is kept as " + temp) != std::string::npos, "the error does not name the kept file");
    Check(waited >= std::chrono::milliseconds(800) && waited < std::chrono::seconds(5), "the retries do not take about a second");
    Check(ReadAll(report) == "the report after a wait", "the report held open changed");
    Check(ReadAll(temp) == "the new report", "the new report is not kept under its temporary name");
    DeleteFileA(temp.c_str());
    DeleteFileA(report.c_str());
    std::printf("END replace\n");
    return mlt::test::Failures() == 0 ? 0 : 1;
}
