// Runs that meet a fault: every one ends with ExportResult Failed instead of a report that
// looks complete. Also the regressions that the fuzzers' structural check guards.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include <filesystem>

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

TEST(Faults, WriteErrorPartWayFailsTheRun) {
    // A file size limit of 64 KiB: the writes past it fail with EFBIG (SIGXFSZ ignored),
    // after the first blocks of the report reached the file.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 64 * 1024;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string name = test::TempDir("faults").string() + "/partial.PDF";
    auto data = test::NumberedDataSet(5000);
    const TExportResult result = RunToFile(*data, name);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(result, TExportResult::Failed);
    EXPECT_EQ(std::filesystem::file_size(name), 64u * 1024) << "the run did get part of the way";
    std::filesystem::remove(name);
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
