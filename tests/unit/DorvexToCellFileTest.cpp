#include "export/DorvexToCellFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <tuple>

#include "rtl/Exception.h"
#include "tests/support/RecordingWriter.h"
#include "tests/support/TempFiles.h"
#include "tests/support/TestData.h"

using namespace mlt;
using mlt::test::RecordingWriter;

namespace {

// A quiet exporter over a dataset: no progress window, no message boxes.
void Bind(TDorvexToCellFile& writer, TDataSet& dataSet) {
    writer.ColumnSource = csDataSet;
    writer.SetDataSet(&dataSet);
    writer.AnimatedStatus = false;
    writer.Options = 0;
}

std::vector<std::string> RunToMemory(RecordingWriter& writer) {
    TMemoryStream stream;
    writer.ExportToStream(&stream);
    return writer.Calls;
}

}  // namespace

TEST(CellFileDriver, CallsTheWriterInSheetOrder) {
    auto data = test::NumberedDataSet(2);
    RecordingWriter writer;
    Bind(writer, *data);
    writer.AddTitle = true;
    writer.Header.Add("hdr");
    writer.Footer.Add("ftr");
    // Columns come from the fields: A (text of 20, width 20) and B (integer, width 11).
    // Rows: header 0, captions 1, records 2 and 3, footer 4 (CurrentRow after the loop).
    std::vector<std::string> expected = {
        "FileBegin", "Dimension 3 3", "Width 0 20", "Width 1 11", "Header",
        "RowStart H", "Data 0,1 hdr", "RowEnd H",
        "RowStart H", "Data 1,0 A", "Data 1,1 B", "RowEnd H",
        "RowStart", "Data 2,0 a0", "Data 2,1 0", "RowEnd",
        "RowStart", "Data 3,0 a1", "Data 3,1 1", "RowEnd",
        "RowStart H", "Data 4,1 ftr", "RowEnd H", "FileEnd"};
    EXPECT_EQ(RunToMemory(writer), expected);
    EXPECT_EQ(writer.TotalRowCount, 1 + 1 + 2 + 1);
    EXPECT_EQ(writer.ExportResult, TExportResult::Completed);
    EXPECT_EQ(writer.Columns.Count(), 0) << "columns built for the run are removed after it";
}

TEST(CellFileDriver, PlacesCellsUnderTheReversedLayout) {
    auto data = test::NumberedDataSet(3);
    RecordingWriter writer;
    Bind(writer, *data);
    writer.AddTitle = true;
    writer.Options = soBlankRowAfterCaptions;
    writer.Layout = elReversedColumnar;
    writer.Header.Add("h0");
    writer.Header.Add("h1");
    RunToMemory(writer);
    // Header lines keep (i, 1); captions go down column H = 2, blanks column 3, records from 4.
    std::vector<std::pair<int, int>> expected = {{0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3},
                                                 {0, 4}, {1, 4}, {0, 5}, {1, 5}, {0, 6}, {1, 6}};
    ASSERT_EQ(writer.Cells.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(writer.Cells[i].Row, expected[i].first) << i;
        EXPECT_EQ(writer.Cells[i].Col, expected[i].second) << i;
    }
    EXPECT_EQ(writer.Calls[1], "Dimension 2 6") << "visible columns, then records + 2 title rows + 1";
    EXPECT_EQ(writer.Cells[4].Type, ctBlank);
    EXPECT_EQ(writer.Cells[4].Alignment, taCenter);
    EXPECT_EQ(writer.Cells[4].FontName, "-") << "blank cells get no font";
}

TEST(CellFileDriver, WritesEachValueOnItsOwnRowUnderTheTabularLayout) {
    auto data = test::MakeDataSet({test::TextColumn("A", 5), test::TextColumn("B", 30), test::TextColumn("C", 9)},
                                  {{Variant::String("x"), Variant::String("y"), Variant::String("z")}});
    RecordingWriter writer;
    Bind(writer, *data);
    writer.Layout = elTabularForm;
    writer.AddTitle = true;  // room for captions is kept, but none are written
    writer.Header.Add("h");
    RunToMemory(writer);
    std::vector<std::string> expected = {
        "FileBegin", "Dimension 6 3", "Width 0 30", "Width 1 30", "Header",
        "RowStart H", "Data 0,1 h", "RowEnd H",
        // CurrentRow = H + 1 = 2, so the rows are 3 * 2 + k.
        "RowStart", "Data 6,0 A", "Data 6,1 x", "RowEnd",
        "RowStart", "Data 7,0 B", "Data 7,1 y", "RowEnd",
        "RowStart", "Data 8,0 C", "Data 8,1 z", "RowEnd", "FileEnd"};
    EXPECT_EQ(writer.Calls, expected);
}

TEST(CellFileDriver, WidestVisibleColumnMayBeNegativeInTheTabularAndReversedLayouts) {
    for (TDvxLayout layout : {elTabularForm, elReversedColumnar}) {
        auto data = test::NumberedDataSet(1);
        RecordingWriter writer;
        Bind(writer, *data);
        writer.Layout = layout;
        for (auto [name, width, visible] : {std::tuple{"A", -5, true}, {"B", -3, true}, {"A", -1, false}}) {
            TDvxColumn& column = writer.Columns.Add();
            column.FieldName = name;
            column.Width = width;
            column.Visible = visible;
        }
        RunToMemory(writer);
        // W = max(-5, -3) = -3; the hidden -1 does not count. Reversed: one width per row
        // (1 record + 1), tabular: two.
        EXPECT_EQ(writer.Calls[2], "Width 0 -3") << layout;
        EXPECT_EQ(writer.Calls[3], "Width 1 -3") << layout;
    }
}

TEST(CellFileDriver, HiddenColumnsTakeNoSheetColumn) {
    auto data = test::NumberedDataSet(1);
    data->Fields(0).Visible = false;
    RecordingWriter writer;
    Bind(writer, *data);
    RunToMemory(writer);
    std::vector<std::string> expected = {"FileBegin", "Dimension 1 2", "Width 0 11", "Header",
                                         "RowStart",  "Data 0,0 0",    "RowEnd",     "FileEnd"};
    EXPECT_EQ(writer.Calls, expected);
}

TEST(CellFileDriver, SplitsOutputIntoNumberedFiles) {
    auto dir = test::TempDir("split");
    auto data = test::NumberedDataSet(5);
    RecordingWriter writer;
    Bind(writer, *data);
    writer.RowsPerFile = 2;
    writer.FileName = (dir / "report.pdf").string();
    std::vector<int> numbers;
    writer.OnGetFileName = [&](TPersistent&, int number, std::string&) { numbers.push_back(number); };
    writer.Execute();
    ASSERT_EQ(writer.ExportResult, TExportResult::Completed);
    EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(test::ReadAll(dir / "report.pdf"), "a00a11");
    EXPECT_EQ(test::ReadAll(dir / "report001.pdf"), "a22a33");
    EXPECT_EQ(test::ReadAll(dir / "report002.pdf"), "a44");
    // Each file is complete: its own prologue and footer.
    EXPECT_EQ(std::count(writer.Calls.begin(), writer.Calls.end(), "FileBegin"), 3);
    EXPECT_EQ(std::count(writer.Calls.begin(), writer.Calls.end(), "FileEnd"), 3);
    EXPECT_EQ(writer.Calls[1], "Dimension 2 3") << "the first file announces its own two records";
    const auto last = std::find(writer.Calls.rbegin(), writer.Calls.rend(), "FileBegin");
    EXPECT_EQ(*(last - 1), "Dimension 1 3") << "the last file announces its one record";
    std::filesystem::remove_all(dir);
}

TEST(CellFileDriver, KeepsAStreamRunInOneDocument) {
    auto data = test::NumberedDataSet(5);
    RecordingWriter writer;
    Bind(writer, *data);
    writer.RowsPerFile = 2;
    writer.FileName = "report.pdf";
    std::vector<int> numbers;
    writer.OnGetFileName = [&](TPersistent&, int number, std::string&) { numbers.push_back(number); };
    TMemoryStream stream;
    writer.ExportToStream(&stream);
    EXPECT_EQ(numbers, std::vector<int>{0});
    EXPECT_EQ(writer.Calls[1], "Dimension 5 3") << "one document announces all five records";
    EXPECT_EQ(stream.Memory(), "a00a11a22a33a44");
    EXPECT_FALSE(std::filesystem::exists("report.pdf"));
}

TEST(CellFileDriver, NumbersFileNamesBeforeTheExtension) {
    EXPECT_EQ(TDorvexToCellFile::NumberedFileName("C:\\out\\report.pdf", 0), "C:\\out\\report.pdf");
    EXPECT_EQ(TDorvexToCellFile::NumberedFileName("C:\\out\\report.pdf", 1), "C:\\out\\report001.pdf");
    EXPECT_EQ(TDorvexToCellFile::NumberedFileName("C:\\out\\report.pdf", 12), "C:\\out\\report012.pdf");
    EXPECT_EQ(TDorvexToCellFile::NumberedFileName("C:\\out\\report.pdf", 123), "C:\\out\\report123.pdf");
    EXPECT_EQ(TDorvexToCellFile::NumberedFileName("C:\\out\\report", 1), "C:\\out\\report001");
    EXPECT_EQ(TDorvexToCellFile::NumberedFileName("/tmp/a.b/report", 7), "/tmp/a.b/report007");
}

TEST(CellFileDriver, StopsAtTheRecordLimitAndOnCancel) {
    auto data = test::NumberedDataSet(10);
    RecordingWriter limited;
    Bind(limited, *data);
    limited.RecordLimit = 3;
    RunToMemory(limited);
    EXPECT_EQ(std::count(limited.Calls.begin(), limited.Calls.end(), "RowStart"), 3);
    EXPECT_EQ(limited.Calls.back(), "FileEnd");
    EXPECT_EQ(limited.ExportResult, TExportResult::Completed);

    RecordingWriter canceled;
    Bind(canceled, *data);
    std::vector<std::pair<int, int>> progress;
    canceled.OnProgress = [&](TPersistent&, int cur, int max, bool& abort) {
        progress.emplace_back(cur, max);
        abort = cur == 4;
    };
    RunToMemory(canceled);
    // Records 0 to 4 are written; the loop stops before record 5.
    EXPECT_EQ(std::count(canceled.Calls.begin(), canceled.Calls.end(), "RowStart"), 5);
    EXPECT_EQ(canceled.Calls.back(), "FileEnd");
    EXPECT_EQ(canceled.ExportResult, TExportResult::Canceled);
    // Once per record with the engine's count, then once more at the end.
    ASSERT_EQ(progress.size(), 6u);
    EXPECT_EQ(progress[4], std::make_pair(4, 10));
    EXPECT_EQ(progress[5], std::make_pair(10, 10));
}

TEST(CellFileDriver, AlternatesRowColoursBySheetRow) {
    auto data = test::NumberedDataSet(3);
    RecordingWriter writer;
    Bind(writer, *data);
    writer.ColorStyle.SetStyle(esBrick);
    writer.AddTitle = true;
    writer.Header.Add("h");
    RunToMemory(writer);
    // Header row 0 and captions row 2 (H + 1) are even; records are rows 3, 4, 5.
    const TColor odd = 0x00CFDFDF, even = 0x00A0BFBF;
    ASSERT_EQ(writer.Cells.size(), 1u + 2 + 6);
    EXPECT_EQ(writer.Cells[0].Color, even);
    EXPECT_EQ(writer.Cells[1].Color, even);
    EXPECT_EQ(writer.Cells[3].Color, odd);
    EXPECT_EQ(writer.Cells[5].Color, even);
    EXPECT_EQ(writer.Cells[7].Color, odd);

    RecordingWriter plain;
    Bind(plain, *data);
    TDvxColumn& column = plain.Columns.Add();
    column.FieldName = "A";
    column.Color = 0x123456;
    RunToMemory(plain);
    for (const auto& cell : plain.Cells) EXPECT_EQ(cell.Color, 0x123456);
}

TEST(CellFileDriver, HookChangesReachTheWriter) {
    auto data = test::NumberedDataSet(2);
    RecordingWriter writer;
    Bind(writer, *data);
    writer.OnGetCellParams = [](TPersistent&, TField* field, std::string& text, TFont& font, TAlignment& alignment,
                                TColor& color, TCellType& type) {
        if (field == nullptr || field->FieldName != "B") return;
        text.clear();
        type = ctBlank;
        font.Name = "Courier New";
        alignment = taCenter;
        color = 0x0000FF;
    };
    RunToMemory(writer);
    ASSERT_EQ(writer.Cells.size(), 4u);
    EXPECT_EQ(writer.Cells[1].Text, "");
    EXPECT_EQ(writer.Cells[1].Type, ctBlank);
    EXPECT_EQ(writer.Cells[1].FontName, "Courier New");
    EXPECT_EQ(writer.Cells[1].Alignment, taCenter);
    EXPECT_EQ(writer.Cells[1].Color, 0x0000FF);
    // The next cell starts again from its column.
    EXPECT_EQ(writer.Cells[2].Text, "a1");
    EXPECT_EQ(writer.Cells[2].FontName, "Arial");
    EXPECT_EQ(writer.Cells[2].Color, clWhite);
    EXPECT_EQ(writer.Cells[2].Type, ctString);
}

TEST(CellFileDriver, ConvertsTextsToOemExceptTabularCaptions) {
    auto data = test::MakeDataSet({test::TextColumn("Caf\xE9")}, {{Variant::String("cr\xE8me")}});
    RecordingWriter writer;
    Bind(writer, *data);
    writer.CharacterSet = csASCII_MSDOS;
    writer.AddTitle = true;
    writer.Header.Add("\xC9t\xE9");
    RunToMemory(writer);
    // Code page 437: é 0x82, è 0x8A, É 0x90.
    ASSERT_EQ(writer.Cells.size(), 3u);
    EXPECT_EQ(writer.Cells[0].Text, "\x90t\x82");
    EXPECT_EQ(writer.Cells[1].Text, "Caf\x82");
    EXPECT_EQ(writer.Cells[2].Text, "cr\x8Ame");

    RecordingWriter tabular;
    Bind(tabular, *data);
    tabular.CharacterSet = csASCII_MSDOS;
    tabular.Layout = elTabularForm;
    RunToMemory(tabular);
    ASSERT_EQ(tabular.Cells.size(), 2u);
    EXPECT_EQ(tabular.Cells[0].Text, "Caf\xE9");
    EXPECT_EQ(tabular.Cells[1].Text, "cr\x8Ame");
}

TEST(CellFileDriver, FlushesFilesAfterEvery1025Rows) {
    auto dir = test::TempDir("flush");
    auto data = test::NumberedDataSet(1030);
    RecordingWriter writer;
    Bind(writer, *data);
    writer.FileName = (dir / "big.pdf").string();
    writer.Execute();
    ASSERT_EQ(writer.ExportResult, TExportResult::Completed);
    EXPECT_EQ(writer.RowsSinceFlush, 1030 - 1025);

    RecordingWriter memory;
    Bind(memory, *data);
    RunToMemory(memory);
    EXPECT_EQ(memory.RowsSinceFlush, 1030) << "a memory stream is never flushed";
    std::filesystem::remove_all(dir);
}

TEST(CellFileDriver, FailureWritesTheFooterAndReachesTheCaller) {
    auto data = test::NumberedDataSet(3);
    RecordingWriter writer;
    Bind(writer, *data);
    writer.Columns.Add().FieldName = "Missing";
    bool after = false;
    writer.OnAfterExecute = [&](TPersistent&) { after = true; };
    TMemoryStream stream;
    try {
        writer.ExportToStream(&stream);
        FAIL() << "a missing field must fail the run";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("Field 'Missing' not found"), std::string::npos) << error.what();
    }
    EXPECT_EQ(writer.Calls.back(), "FileEnd");
    EXPECT_FALSE(after);
    EXPECT_EQ(writer.ExportResult, TExportResult::None);

    writer.Calls.clear();
    writer.FileName = (test::TempDir("fail") / "out.pdf").string();
    writer.Execute();
    EXPECT_EQ(writer.ExportResult, TExportResult::Failed);
    EXPECT_EQ(writer.Calls.back(), "FileEnd");
}

TEST(CellFileDriver, BadInputFailsTheRunWithAClearMessage) {
    auto data = test::NumberedDataSet(1);
    std::vector<std::string> messages;
    // No data source: the before-event fires, the after-event does not.
    RecordingWriter unbound;
    unbound.ColumnSource = csDataSet;
    unbound.AnimatedStatus = false;
    unbound.Options = soShowMessage;
    bool before = false, after = false;
    unbound.OnBeforeExecute = [&](TPersistent&) { before = true; };
    unbound.OnAfterExecute = [&](TPersistent&) { after = true; };
    unbound.OnGetLanguageString = [&](TPersistent&, int id, std::string& text) {
        if (id == 3) messages.push_back(text);
    };
    EXPECT_NO_THROW(unbound.Execute());
    EXPECT_EQ(unbound.ExportResult, TExportResult::Failed);
    EXPECT_TRUE(before);
    EXPECT_FALSE(after);
    EXPECT_EQ(messages, std::vector<std::string>{"Error of data export."});

    // An output folder that does not exist.
    RecordingWriter unwritable;
    Bind(unwritable, *data);
    unwritable.FileName = "/nonexistent-folder/out.pdf";
    unwritable.Execute();
    EXPECT_EQ(unwritable.ExportResult, TExportResult::Failed);
    EXPECT_FALSE(std::filesystem::exists("/nonexistent-folder/out.pdf"));

    // A file run with no file name has nowhere to write.
    RecordingWriter nameless;
    Bind(nameless, *data);
    nameless.FileName.clear();
    nameless.Execute();
    EXPECT_EQ(nameless.ExportResult, TExportResult::Failed);
}

TEST(CellFileDriver, WritesPrologueAndFooterForAnEmptyDataset) {
    auto data = test::NumberedDataSet(0);
    RecordingWriter writer;
    Bind(writer, *data);
    writer.AddTitle = true;
    std::vector<std::string> expected = {"FileBegin", "Dimension 1 3", "Width 0 20", "Width 1 11", "Header",
                                         "RowStart H", "Data 0,0 A", "Data 0,1 B", "RowEnd H", "FileEnd"};
    EXPECT_EQ(RunToMemory(writer), expected);
}

TEST(CellFileDriver, ConcurrentRunsKeepTheirOwnSeparators) {
    auto run = [](char decimal, char date, std::string& out) {
        auto data = test::MakeDataSet({test::TypedColumn("F", adDouble), test::TypedColumn("D", adDate)},
                                      {{Variant::Double(1.5), Variant::Date(45000.5)}});
        for (int i = 0; i < 200; ++i) {
            RecordingWriter writer;
            Bind(writer, *data);
            writer.DataFormats.DecimalSeparator = decimal;
            writer.DataFormats.DateSeparator = date;
            TMemoryStream stream;
            writer.ExportToStream(&stream);
            std::string text(stream.Memory());
            if (i > 0 && text != out) {
                out = "differs: " + text;
                return;
            }
            out = text;
            EXPECT_EQ(writer.FormatSettings().DecimalSeparator, DefaultFormatSettings().DecimalSeparator);
        }
    };
    std::string comma, point;
    std::thread a(run, ',', '.', std::ref(comma));
    std::thread b(run, '.', '-', std::ref(point));
    a.join();
    b.join();
    // 45000.5 is 2023-03-15 at noon.
    EXPECT_EQ(comma, "1,53.15.2023 12:00:00 PM");
    EXPECT_EQ(point, "1.53-15-2023 12:00:00 PM");
}
