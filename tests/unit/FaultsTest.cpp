// Runs that meet a fault: every one ends with ExportResult Failed instead of a report that
// looks complete. Also the regressions that the fuzzers' structural check guards.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <map>

#include "component/ExportRecipe.h"
#include "rtl/Exception.h"
#include "tests/support/PdfStructure.h"
#include "tests/support/TempFiles.h"
#include "tests/support/TestData.h"

using namespace mlt;

namespace {

// A memory source whose second record cannot be read.
class BrokenRecordSource : public TMemoryRecordSource {
public:
    using TMemoryRecordSource::TMemoryRecordSource;
    void ReadRow(std::vector<Variant>& values) override {
        if (++reads_ > 1) throw EDatabaseError("Record 2 cannot be read");
        TMemoryRecordSource::ReadRow(values);
    }

private:
    int reads_ = 0;
};

TExportResult RunToFile(TDataSet& data, const std::string& fileName) {
    TMarrowlintideSettings settings;
    settings.ApplyDefaults();
    auto exporter = CreateReportWriter(TReportDescription(settings), data);
    exporter->FileName = fileName;
    exporter->Execute();
    return exporter->ExportResult;
}

}  // namespace

TEST(Faults, FullDiskFailsTheRun) {
    const std::string link = test::TempDir("faults").string() + "/full.PDF";
    std::filesystem::remove(link);
    std::filesystem::create_symlink("/dev/full", link);
    auto data = test::NumberedDataSet(200);
    EXPECT_EQ(RunToFile(*data, link), TExportResult::Failed);
    std::filesystem::remove(link);
}

// A failed run leaves every file of the folder as it was: the report it would have
// replaced, a symbolic link and the link's target, and no temporary file. A complete run
// through the link replaces the link, not its target.
TEST(Faults, FailedRunLeavesThePreviousFilesAsTheyWere) {
    const auto dir = test::TempDir("faults");
    const std::string report = (dir / "report.PDF").string(), link = (dir / "link.PDF").string();
    std::ofstream(report) << "the previous report";
    std::ofstream(dir / "target.PDF") << "the link's target";
    std::filesystem::create_symlink("target.PDF", link);
    auto folder = [&] {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            files[entry.path().filename().string()] = entry.is_symlink() ? "-> " + std::filesystem::read_symlink(entry).string()
                                                                        : test::ReadAll(entry.path());
        return files;
    };
    const auto before = folder();

    // A file size limit of 64 KiB: the writes past it fail with EFBIG (SIGXFSZ ignored).
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 64 * 1024;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    auto large = test::NumberedDataSet(5000);
    const TExportResult result = RunToFile(*large, report);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(result, TExportResult::Failed);
    EXPECT_EQ(folder(), before);

    TADODataSet broken;
    broken.SetRecordset(std::make_unique<BrokenRecordSource>(
        std::vector<TColumnDescriptor>{test::TextColumn("A")},
        std::vector<std::vector<Variant>>{{Variant::String("a")}, {Variant::String("b")}}));
    EXPECT_EQ(RunToFile(broken, link), TExportResult::Failed);
    EXPECT_EQ(folder(), before);

    auto small = test::NumberedDataSet(2);
    EXPECT_EQ(RunToFile(*small, link), TExportResult::Completed);
    auto after = folder();
    EXPECT_EQ(after.size(), 3u);
    EXPECT_EQ(after["target.PDF"], "the link's target");
    EXPECT_TRUE(after["link.PDF"].starts_with("%PDF-1.2"));
}

TEST(Faults, OutputFolderThatIsMissingOrReadOnlyFailsTheRun) {
    auto data = test::NumberedDataSet(2);
    EXPECT_EQ(RunToFile(*data, test::TempDir("faults").string() + "/missing/x.PDF"), TExportResult::Failed);
    // Not even root may create files in /proc.
    EXPECT_EQ(RunToFile(*data, "/proc/x.PDF"), TExportResult::Failed);
}

TEST(Faults, UnreadableFieldFailsTheRun) {
    TADODataSet data;
    data.SetRecordset(std::make_unique<BrokenRecordSource>(
        std::vector<TColumnDescriptor>{test::TextColumn("A")},
        std::vector<std::vector<Variant>>{{Variant::String("a")}, {Variant::String("b")}}));
    const std::string file = test::TempDir("faults").string() + "/broken.PDF";
    EXPECT_EQ(RunToFile(data, file), TExportResult::Failed);
}

TEST(Faults, DatasetClosedMidRunFailsTheRun) {
    auto data = test::NumberedDataSet(3);
    TMarrowlintideSettings settings;
    settings.ApplyDefaults();
    auto exporter = CreateReportWriter(TReportDescription(settings), *data);
    exporter->FileName = test::TempDir("faults").string() + "/closed.PDF";
    // The second record's cells would read the fields that closing freed.
    exporter->OnProgress = [&](TPersistent&, int record, int, bool&) {
        if (record == 1) data->Close();
    };
    exporter->Execute();
    EXPECT_EQ(exporter->ExportResult, TExportResult::Failed);
    EXPECT_EQ(exporter->LastError, "Error of data export.: Cannot perform this operation on a closed dataset");
}

TEST(Faults, FieldThatIsNoPictureFailsTheRun) {
    TColumnDescriptor photo{"Photo", adLongVarBinary};
    photo.Graphic = true;
    auto data = test::MakeDataSet({photo}, {{Variant::Blob("GIF89a but not really")}});
    EXPECT_EQ(RunToFile(*data, test::TempDir("faults").string() + "/picture.PDF"), TExportResult::Failed);
}

// Cell texts that hold the file's own keywords must not end their object early.
TEST(Faults, CellTextWithPdfKeywordsKeepsTheDocumentSound) {
    auto data = test::MakeDataSet({test::TextColumn("A", 40)},
                                  {{Variant::String("x\r\nendstream\r\nendobj\r\n(")}, {Variant::String(")\\")}});
    TMarrowlintideSettings settings;
    settings.ApplyDefaults();
    auto exporter = CreateReportWriter(TReportDescription(settings), *data);
    TMemoryStream stream;
    exporter->ExportToStream(&stream);
    EXPECT_EQ(test::CheckPdfStructure(stream.Memory()), "");
}
