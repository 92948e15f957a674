#include "export/DorvexBaseComponent.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "export/DorvexToCellFile.h"
#include "rtl/Exception.h"
#include "rtl/FilePath.h"
#include "rtl/Host.h"
#include "tests/support/TempFiles.h"
#include "tests/support/TestData.h"

using namespace mlt;

namespace {

// Counts the after-export actions instead of opening or mailing anything.
class ActionCounter : public TDorvexToCellFile {
public:
    using TDorvexToCellFile::TDorvexToCellFile;
    void DoActionAfterExport() override { ++Actions; }
    int Actions = 0;
};

// A descendant with an extension of its own.
class OwnExtension : public TDorvexToCellFile {
public:
    OwnExtension() { SetDefaultFileName(); }
    void GetDefaultExt(std::string& ext) override { ext = ".OWN"; }
};

// A progress window that records what it is told; Cancel is pressed at a chosen update.
class FakeWindow : public TProgressWindow {
public:
    struct Log {
        std::vector<std::string> Lines;
        int CancelAtUpdate = -1;
        int Updates = 0;
    };
    explicit FakeWindow(Log& log) : log_(log) {}
    void Show(const std::string& caption, const std::string& status, const std::string& cancel, int position,
              int max, int min) override {
        max_ = max;
        log_.Lines.push_back("Show " + caption + "|" + status + "|" + cancel + "|" + std::to_string(position) + "|" +
                             std::to_string(max) + "|" + std::to_string(min));
    }
    void Update(const std::string& status, int value) override {
        log_.Lines.push_back("Update " + status);
        if (log_.Updates++ == log_.CancelAtUpdate) canceled_ = true;
    }
    int Max() const override { return max_; }
    bool Canceled() const override { return canceled_; }
    void SetCanceled(bool value) override { canceled_ = value; }
    void Hide() override { log_.Lines.push_back("Hide"); }

private:
    Log& log_;
    int max_ = 0;
    bool canceled_ = false;
};

struct WindowHost {
    explicit WindowHost(FakeWindow::Log& log) {
        saved_ = Host().CreateProgressWindow;
        Host().CreateProgressWindow = [&log] { return std::make_unique<FakeWindow>(log); };
    }
    ~WindowHost() { Host().CreateProgressWindow = saved_; }
    std::function<std::unique_ptr<TProgressWindow>()> saved_;
};

}  // namespace

TEST(BaseComponent, StartsWithItsDefaults) {
    TDorvexToCellFile exporter;
    EXPECT_EQ(exporter.FileName, ExtractFilePath(ExecutablePath()) + "Dorvex.EXP");
    EXPECT_EQ(OwnExtension().FileName, ExtractFilePath(ExecutablePath()) + "Dorvex.OWN");
    EXPECT_EQ(exporter.Options, 50);
    EXPECT_TRUE(exporter.AnimatedStatus);
    EXPECT_EQ(exporter.ColumnSource, csDBGrid);
    EXPECT_EQ(exporter.RecordLimit, 0);
    EXPECT_EQ(exporter.FieldDelimiter, '\t');
    EXPECT_EQ(exporter.RecordSeparator, "\r\n");
    EXPECT_TRUE(exporter.SendTo.EMailOpenBeforeSend);
    EXPECT_EQ(exporter.ColorStyle.Style(), esNormal);
}

TEST(BaseComponent, TableTypeReplacesTheFileExtension) {
    TDorvexToCellFile exporter;
    exporter.FileName = "/out/data.PDF";
    exporter.SetTableType(14);
    EXPECT_EQ(exporter.FileName, "/out/data");
    exporter.SetTableType(12);
    EXPECT_EQ(exporter.FileName, "/out/data.XML");
    exporter.SetTableType(40);
    EXPECT_EQ(exporter.FileName, "/out/data");
    EXPECT_EQ(exporter.TableType(), 40);
    exporter.FileName = "/out.d/report";
    exporter.SetTableType(17);
    EXPECT_EQ(exporter.FileName, "/out.d/report.PDF");
    exporter.FileName.clear();
    exporter.SetTableType(2);
    EXPECT_EQ(exporter.FileName, "");
    EXPECT_EQ(exporter.TableType(), 2);
}

TEST(BaseComponent, AssignCopiesSettingsButNotRunState) {
    auto data = test::NumberedDataSet(1);
    TDorvexToCellFile source;
    source.Header.Add("h");
    source.RowsPerFile = 5;
    source.SetTableType(17);
    source.KeyGenerator = "kg";
    source.Options = soFieldMask;
    source.SendTo.EMailRecipient = "a@b";
    source.ColorStyle.SetStyle(esWheat);
    source.ColorStyle.OddColor = 1;
    source.Columns.Add().FieldName = "A";
    source.SetDataSet(data.get());
    source.ColumnSource = csDataSet;
    source.Layout = elTabularForm;
    source.RecordLimit = 9;
    source.ExportResult = TExportResult::Failed;
    source.FileName = "/x/y.PDF";

    TDorvexToCellFile copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Header.Lines, source.Header.Lines);
    EXPECT_EQ(copy.RowsPerFile, 5);
    EXPECT_EQ(copy.TableType(), 17);
    EXPECT_EQ(copy.KeyGenerator, "kg");
    EXPECT_EQ(copy.Options, soFieldMask);
    EXPECT_EQ(copy.SendTo.EMailRecipient, "a@b");
    EXPECT_EQ(copy.ColorStyle.Style(), esWheat);
    EXPECT_EQ(copy.ColorStyle.OddColor, 1);
    ASSERT_EQ(copy.Columns.Count(), 1);
    EXPECT_EQ(copy.Columns.Items(0).FieldName, "A");
    EXPECT_EQ(copy.DataSet(), data.get());
    EXPECT_EQ(copy.Layout, elTabularForm);
    EXPECT_EQ(copy.FileName, "/x/y.PDF");
    EXPECT_EQ(copy.RecordLimit, 0);
    EXPECT_EQ(copy.ExportResult, TExportResult::None);

    TStrings strings;
    EXPECT_THROW(copy.Assign(strings), EAssignError);
}

TEST(BaseComponent, ForgetsComponentsThatAreDestroyed) {
    TDorvexToCellFile exporter;
    {
        auto data = test::NumberedDataSet(1);
        exporter.SetDataSet(data.get());
        TDvxCustomDataEngine engine;
        exporter.SetDataEngine(&engine);
    }
    EXPECT_EQ(exporter.DataSet(), nullptr);
    EXPECT_EQ(exporter.DataEngine(), nullptr);
}

TEST(BaseComponent, MessagesGoThroughTheHook) {
    TDorvexToCellFile exporter;
    EXPECT_EQ(exporter.LanguageString(16), "Data export was canceled by user.");
    std::vector<int> ids;
    exporter.OnGetLanguageString = [&](TPersistent&, int id, std::string& text) {
        ids.push_back(id);
        text += "!";
    };
    EXPECT_EQ(exporter.LanguageString(16), "Data export was canceled by user.!");
    EXPECT_EQ(exporter.LanguageString(125), "!");
    EXPECT_EQ(ids, (std::vector<int>{16, 125}));
}

TEST(BaseComponent, ProgressWindowFollowsTheRun) {
    FakeWindow::Log log;
    WindowHost host(log);
    auto data = test::NumberedDataSet(2);
    ActionCounter exporter;
    exporter.ColumnSource = csDataSet;
    exporter.SetDataSet(data.get());
    exporter.Options = 0;
    exporter.KeyGenerator = "KG";
    // The status text is asked for again before every record.
    int asked = 0;
    exporter.OnGetLanguageString = [&](TPersistent&, int id, std::string& text) {
        if (id == 8) text += std::to_string(++asked);
    };
    TMemoryStream stream;
    exporter.ExportToStream(&stream);
    std::vector<std::string> expected = {"Show KG|Exporting...1|&Cancel|0|2|0", "Update Exporting...2 (0/2)",
                                         "Update Exporting...3 (1/2)",
                                         "Update The " + exporter.FileName +
                                             " file was successfully generated with exported data. (2/2)",
                                         "Hide"};
    EXPECT_EQ(log.Lines, expected);
    EXPECT_EQ(exporter.ExportResult, TExportResult::Completed);
    EXPECT_EQ(exporter.Actions, 1);
}

TEST(BaseComponent, CancelFromTheWindowStillRunsTheAction) {
    FakeWindow::Log log;
    log.CancelAtUpdate = 0;
    WindowHost host(log);
    auto data = test::NumberedDataSet(5);
    ActionCounter exporter;
    exporter.ColumnSource = csDataSet;
    exporter.SetDataSet(data.get());
    exporter.Options = 0;
    TMemoryStream stream;
    exporter.ExportToStream(&stream);
    EXPECT_EQ(exporter.ExportResult, TExportResult::Canceled);
    EXPECT_EQ(exporter.Actions, 1);
    EXPECT_EQ(log.Lines[2], "Update Data export was canceled by user. (5/5)");
}

TEST(BaseComponent, UnknownRecordCountOpensTheWindowAtZero) {
    TDvxCustomDataEngine engine;
    engine.OnCount = [](TPersistent&, int& count) { count = -1; };
    FakeWindow::Log log;
    {
        WindowHost host(log);
        ActionCounter exporter;
        exporter.ColumnSource = csDataEngine;
        exporter.SetDataEngine(&engine);
        exporter.Options = 0;
        exporter.PrepareExecute();
        EXPECT_EQ(exporter.RecordCount, 0);
        exporter.FinishExecute();
    }
    EXPECT_EQ(log.Lines.front(), "Show www.marrowlintide.org|Exporting...|&Cancel|0|0|0");

    ActionCounter quiet;
    quiet.ColumnSource = csDataEngine;
    quiet.SetDataEngine(&engine);
    quiet.Options = 0;
    quiet.AnimatedStatus = false;
    std::vector<std::pair<int, int>> progress;
    quiet.OnProgress = [&](TPersistent&, int cur, int max, bool&) { progress.emplace_back(cur, max); };
    quiet.PrepareExecute();
    EXPECT_EQ(quiet.RecordCount, -1);
    quiet.FinishExecute();
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{-1, -1}}));
}

TEST(BaseComponent, BuildsColumnsOnlyWhenNoneAreDefined) {
    auto data = test::NumberedDataSet(1);
    ActionCounter exporter;
    exporter.ColumnSource = csDataSet;
    exporter.SetDataSet(data.get());
    exporter.AnimatedStatus = false;
    exporter.Options = 0;
    exporter.PrepareExecute();
    EXPECT_EQ(exporter.Columns.Count(), 2);
    EXPECT_EQ(exporter.VisibleColumnCount, 2);
    exporter.FinishExecute();
    EXPECT_EQ(exporter.Columns.Count(), 0);

    TDvxColumn& mine = exporter.Columns.Add();
    mine.FieldName = "B";
    exporter.PrepareExecute();
    exporter.FinishExecute();
    ASSERT_EQ(exporter.Columns.Count(), 1);
    EXPECT_EQ(&exporter.Columns.Items(0), &mine);
}

TEST(BaseComponent, FailedRunLeavesNothingBehind) {
    for (bool toStream : {false, true}) {
        FakeWindow::Log log;
        WindowHost host(log);
        std::vector<bool> cursor;
        auto savedCursor = Host().SetWaitCursor;
        Host().SetWaitCursor = [&](bool hourglass) { cursor.push_back(hourglass); };
        auto data = test::NumberedDataSet(3);
        ActionCounter exporter;
        exporter.ColumnSource = csDataSet;
        exporter.SetDataSet(data.get());
        exporter.Options = soDisableControls | soWaitCursor;
        exporter.DataFormats.DecimalSeparator = ',';
        exporter.FileName = (test::TempDir("failed-run") / "out.txt").string();
        exporter.OnGetCellParams = [](TPersistent&, TField* field, std::string&, TFont&, TAlignment&, TColor&,
                                      TCellType&) {
            if (field != nullptr) throw Exception("cell refused");
        };
        TMemoryStream stream;
        if (toStream) EXPECT_THROW(exporter.ExportToStream(&stream), Exception);
        else exporter.Execute();
        Host().SetWaitCursor = savedCursor;

        EXPECT_EQ(exporter.Columns.Count(), 0) << "the columns the run built";
        EXPECT_EQ(exporter.FormatSettings().DecimalSeparator, '.');
        EXPECT_FALSE(data->ControlsDisabled());
        EXPECT_EQ(cursor, (std::vector<bool>{true, false}));
        EXPECT_EQ(log.Lines.back(), "Hide");
        EXPECT_EQ(exporter.CurrentEngine, nullptr);
        EXPECT_EQ(exporter.Actions, 0) << "a failed run takes no action";

        // The next run, on other fields, builds its own columns.
        auto other = test::MakeDataSet({test::TextColumn("X")}, {{Variant::String("x")}});
        exporter.SetDataSet(other.get());
        exporter.OnGetCellParams = nullptr;
        if (toStream) exporter.ExportToStream(&stream);
        else exporter.Execute();
        EXPECT_EQ(exporter.ExportResult, TExportResult::Completed) << toStream;
        std::filesystem::remove(exporter.FileName);
    }
}

TEST(BaseComponent, NamesTheMissingSource) {
    for (auto [source, name] : {std::pair{csDBGrid, "DBGrid"}, {csDataSet, "Dataset"}, {csDataEngine, "DataEngine"}}) {
        ActionCounter exporter;
        exporter.ColumnSource = source;
        try {
            exporter.CreateDataEngine();
            FAIL() << name;
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message, std::string("Property ") + name + " is not specified.");
        }
    }
}

TEST(BaseComponent, ExceptionsOutsideTheFamilyPassThroughExecute) {
    TDvxCustomDataEngine engine;
    engine.OnCount = [](TPersistent&, int&) { throw std::bad_alloc(); };
    ActionCounter exporter;
    exporter.ColumnSource = csDataEngine;
    exporter.SetDataEngine(&engine);
    exporter.Options = 0;
    EXPECT_THROW(exporter.Execute(), std::bad_alloc);
}
