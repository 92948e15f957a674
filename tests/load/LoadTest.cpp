// Load: a million records into a file and into memory, 200 exports in a row, and eight at
// once on eight threads. Slow by design (tens of seconds), so these run in a binary of
// their own under the ctest label "load", outside the sanitizer builds.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "component/ExportRecipe.h"
#include "data/ADODataSet.h"
#include "data/RecordSource.h"
#include "tests/support/PdfStructure.h"
#include "tests/support/TempFiles.h"

using namespace mlt;

namespace {

// `count` records made as they are read: an id, a 30-character name, an amount with two
// decimals and a date. Nothing is held, so memory shows the export's own use.
class TGeneratedSource : public TRecordSource {
public:
    explicit TGeneratedSource(int count) : count_(count) {}
    std::vector<TColumnDescriptor> Columns() override {
        auto column = [](const char* name, int type, int size = 0) {
            TColumnDescriptor c;
            c.Name = name;
            c.Type = type;
            c.DefinedSize = size;
            return c;
        };
        return {column("Id", adInteger), column("Name", adVarChar, 30), column("Amount", adDouble),
                column("Day", adDBDate)};
    }
    void First() override { row_ = 0; }
    void Next() override { ++row_; }
    bool Eof() override { return row_ >= count_; }
    int RecordCount() override { return count_; }
    void ReadRow(std::vector<Variant>& values) override {
        std::string name = "Customer " + std::to_string(row_);
        name.resize(30, '.');
        values = {Variant::Integer(row_), Variant::String(std::move(name)), Variant::Double(row_ * 1.25 + 0.01),
                  Variant::Date(44927 + row_ % 1000)};
    }
    bool SupportsBookmarks() override { return true; }
    std::string Bookmark() override { return std::to_string(row_); }
    void GotoBookmark(const std::string& bookmark) override { row_ = std::stoi(bookmark); }

private:
    int count_;
    int row_ = 0;
};

std::unique_ptr<TDorvexToPDF> Exporter(TADODataSet& data) {
    TMarrowlintideSettings settings;
    settings.ApplyDefaults();
    return CreateReportWriter(TReportDescription(settings), data);
}

std::unique_ptr<TADODataSet> Generated(int count) {
    auto data = std::make_unique<TADODataSet>();
    data->SetRecordset(std::make_unique<TGeneratedSource>(count));
    return data;
}

std::int64_t PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::int64_t ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

std::string WithoutCreationDate(const std::string& pdf) {
    static const std::regex date("/CreationDate \\(D:[0-9]{14}\\)");
    return std::regex_replace(pdf, date, "/CreationDate (D:)");
}

// Pages of a default report: captions and `records` rows, 42 rows a page.
std::string PageCount(int records) { return "/Count " + std::to_string((records + 1 + 41) / 42) + " >> "; }

}  // namespace

TEST(Load, MillionRecordsIntoAFileKeepMemoryFlat) {
    const std::string name = (test::TempDir("load_file") / "million.pdf").string();
    {
        auto data = Generated(10000);
        auto exporter = Exporter(*data);
        exporter->FileName = name;
        exporter->Execute();
        ASSERT_EQ(exporter->ExportResult, TExportResult::Completed);
    }
    const std::int64_t peakAfterSmall = PeakResidentKiB();
    auto data = Generated(1000000);
    auto exporter = Exporter(*data);
    exporter->FileName = name;
    exporter->Execute();
    ASSERT_EQ(exporter->ExportResult, TExportResult::Completed);
    const std::int64_t growthKiB = PeakResidentKiB() - peakAfterSmall;
    const auto documentKiB = static_cast<std::int64_t>(std::filesystem::file_size(name) / 1024);
    // Only the page buffer and the per-document lists (a few bytes per object, where a
    // record takes hundreds of bytes of PDF) may grow with the records.
    EXPECT_LE(growthKiB, documentKiB / 100) << "document KiB: " << documentKiB;

    const std::string pdf = test::ReadAll(name);
    std::filesystem::remove(name);
    EXPECT_EQ(test::CheckPdfStructure(pdf), "");
    EXPECT_NE(pdf.find(PageCount(1000000)), std::string::npos);
    EXPECT_NE(pdf.find("(Customer 999999......"), std::string::npos);
}

TEST(Load, MillionRecordsIntoMemoryTakeAboutTheDocumentOnce) {
    const std::int64_t before = ResidentKiB();
    auto data = Generated(1000000);
    auto exporter = Exporter(*data);
    TMemoryStream stream;
    exporter->ExportToStream(&stream);
    ASSERT_EQ(exporter->ExportResult, TExportResult::Completed);
    const auto documentKiB = static_cast<std::int64_t>(stream.Memory().size() / 1024);
    // The stream and its growth reserve; a caller's copy would be the second.
    EXPECT_LE(PeakResidentKiB() - before, documentKiB * 2) << "document KiB: " << documentKiB;
    EXPECT_EQ(test::CheckPdfStructure(stream.Memory()), "");
    EXPECT_NE(stream.Memory().find(PageCount(1000000)), std::string::npos);
}

TEST(Load, TwoHundredExportsInARowDoNotGrow) {
    const std::string name = (test::TempDir("load_repeat") / "repeat.pdf").string();
    auto data = Generated(2000);
    auto run = [&](int i) {
        auto exporter = Exporter(*data);
        if (i % 2 == 0) {
            exporter->FileName = name;
            exporter->Execute();
        } else {
            TMemoryStream stream;
            exporter->ExportToStream(&stream);
        }
        ASSERT_EQ(exporter->ExportResult, TExportResult::Completed);
    };
    for (int i = 0; i < 20; ++i) run(i);
    const std::int64_t resident = ResidentKiB();
    const int descriptors = OpenDescriptors();
    for (int i = 20; i < 200; ++i) run(i);
    std::filesystem::remove(name);
    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_LE(ResidentKiB() - resident, 1024) << "KiB after 20 exports: " << resident;
}

TEST(Load, EightConcurrentExportsMatchTheirSoloRuns) {
    // Each export has its own separators, and every other one cancels itself part way.
    const char decimals[] = {'.', ',', '.', ',', '.', ',', '.', ','};
    const char dates[] = {'/', '.', '-', '/', '.', '-', '/', '.'};
    auto run = [&](int i, std::string& out, TExportResult& result) {
        auto data = Generated(5000);
        auto exporter = Exporter(*data);
        exporter->DataFormats.DecimalSeparator = decimals[i];
        exporter->DataFormats.ThousandSeparator = decimals[i] == ',' ? '.' : ',';
        exporter->DataFormats.DateSeparator = dates[i];
        if (i % 2 == 1)
            exporter->OnProgress = [i](TPersistent&, int cur, int, bool& abort) { abort = cur == 500 * i; };
        TMemoryStream stream;
        exporter->ExportToStream(&stream);
        out = WithoutCreationDate(std::string(stream.Memory()));
        result = exporter->ExportResult;
    };
    std::string solo[8], together[8];
    TExportResult soloResult[8], togetherResult[8];
    for (int i = 0; i < 8; ++i) run(i, solo[i], soloResult[i]);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) threads.emplace_back(run, i, std::ref(together[i]), std::ref(togetherResult[i]));
    for (auto& thread : threads) thread.join();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(soloResult[i], i % 2 == 1 ? TExportResult::Canceled : TExportResult::Completed) << "export " << i;
        EXPECT_EQ(togetherResult[i], soloResult[i]) << "export " << i;
        EXPECT_TRUE(together[i] == solo[i]) << "export " << i << " differs from its solo run";
    }
    // The separators did reach the texts: 1.25 + 0.01 for record 1, and its date.
    EXPECT_NE(solo[0].find("(1.26)"), std::string::npos);
    EXPECT_NE(solo[1].find("(1,26)"), std::string::npos);
    EXPECT_NE(solo[2].find("(1-2-2023)"), std::string::npos);
}
