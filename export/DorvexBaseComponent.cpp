#include "export/DorvexBaseComponent.h"

#include <array>

#include "data/DBGrid.h"
#include "export/DvxDBDataEngine.h"
#include "export/DvxDBGridDataEngine.h"
#include "export/DvxMessages.h"
#include "export/DvxWWGridDataEngines.h"
#include "rtl/Exception.h"
#include "rtl/FilePath.h"
#include "rtl/Host.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

constexpr std::array<const char*, 19> kExtensions = {
    ".DB", ".DBF", ".TXT", ".HTM", ".XLS", ".XLS", ".DOC", ".SLK", ".DIF", ".WK1",
    ".WQ1", ".SQL", ".XML", ".MDB", "",    ".RTF", ".SAV", ".PDF", ".LDIF",
};

template <typename T>
void Rebind(TComponent& self, T*& field, T* value) {
    if (field != nullptr && field != value) self.RemoveFreeNotification(field);
    field = value;
    if (field != nullptr) self.FreeNotification(field);
}

}  // namespace

std::string TableTypeExtension(int code) {
    if (code < 0 || code >= static_cast<int>(kExtensions.size())) return {};
    return kExtensions[static_cast<std::size_t>(code)];
}

TDorvexBaseComponent::TDorvexBaseComponent(TComponent* owner) : TDvxCustomBaseComponent(owner) {
    SetDefaultFileName();
}

void TDorvexBaseComponent::SetDefaultFileName() {
    std::string ext;
    GetDefaultExt(ext);
    FileName = ExtractFilePath(ExecutablePath()) + "Dorvex" + ext;
}

TDorvexBaseComponent::~TDorvexBaseComponent() = default;

void TDorvexBaseComponent::SetTableType(std::uint8_t value) {
    if (!FileName.empty()) FileName = ChangeFileExt(FileName, TableTypeExtension(value));
    TDvxCustomBaseComponent::SetTableType(value);
}

void TDorvexBaseComponent::SetDBGrid(TCustomControl* grid) {
    if (grid != nullptr) {
        std::optional<TGridKind> kind = ClassifyGrid(*grid);
        if (!kind) throw Exception(FormatMessage(LanguageString(msgUnsupportedGrid), grid->Name));
        gridKind_ = *kind;
    }
    Rebind(*this, dbGrid_, grid);
}

void TDorvexBaseComponent::SetDataSet(TDataSet* dataSet) { Rebind(*this, dataSet_, dataSet); }

void TDorvexBaseComponent::SetDataEngine(TDvxCustomDataEngine* engine) { Rebind(*this, dataEngine_, engine); }

void TDorvexBaseComponent::Assign(const TPersistent& source) {
    TDvxCustomBaseComponent::Assign(source);
    auto* other = dynamic_cast<const TDorvexBaseComponent*>(&source);
    if (other == nullptr) return;
    ActionAfterExport = other->ActionAfterExport;
    FileName = other->FileName;
    Columns.Assign(other->Columns);
    SetDBGrid(other->dbGrid_);
    SetDataSet(other->dataSet_);
    SetDataEngine(other->dataEngine_);
    ColumnSource = other->ColumnSource;
    OnGetNextSelected = other->OnGetNextSelected;
    OnGetSelectedCount = other->OnGetSelectedCount;
    OnBeforeLoadSpecification = other->OnBeforeLoadSpecification;
    OnAfterLoadSpecification = other->OnAfterLoadSpecification;
    OnBeforeSaveSpecification = other->OnBeforeSaveSpecification;
    OnAfterSaveSpecification = other->OnAfterSaveSpecification;
    Layout = other->Layout;
}

void TDorvexBaseComponent::Notification(TComponent* component, TOperation operation) {
    TDvxCustomBaseComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == dbGrid_) dbGrid_ = nullptr;
    else if (component == dataSet_) dataSet_ = nullptr;
    else if (component == dataEngine_) dataEngine_ = nullptr;
    if (component == CurrentEngine) CurrentEngine = nullptr;
}

void TDorvexBaseComponent::CreateDataEngine() {
    auto missing = [this](const char* name) {
        return Exception(FormatMessage(LanguageString(msgPropertyNotSpecified), name));
    };
    switch (ColumnSource) {
        case csDBGrid: {
            if (dbGrid_ == nullptr) throw missing("DBGrid");
            if (gridKind_ == TGridKind::Selected) {
                auto* engine = new TDvxwwDBGridDataEngine(this);
                engine->SetDBGrid(dbGrid_);
                CurrentEngine = engine;
            } else if (gridKind_ == TGridKind::Fields) {
                auto* engine = new TDvxDBAdvStringGridDataEngine(this);
                engine->SetDBGrid(dbGrid_);
                CurrentEngine = engine;
            } else {
                // Only the runtime's TDBGrid has the column grid's columns and selection.
                auto* grid = dynamic_cast<TDBGrid*>(dbGrid_);
                if (grid == nullptr) throw Exception(FormatMessage(LanguageString(msgUnsupportedGrid), dbGrid_->Name));
                auto* engine = new TDvxDBGridDataEngine(this);
                engine->SetDBGrid(grid);
                CurrentEngine = engine;
            }
            ownsEngine_ = true;
            break;
        }
        case csDataSet: {
            if (dataSet_ == nullptr) throw missing("Dataset");
            auto* engine = new TDvxDatasetDataEngine(this);
            engine->SetDataset(dataSet_);
            CurrentEngine = engine;
            ownsEngine_ = true;
            break;
        }
        case csDataEngine:
            if (dataEngine_ == nullptr) throw missing("DataEngine");
            CurrentEngine = dataEngine_;
            ownsEngine_ = false;
            break;
    }
    CurrentEngine->SelectedRecord = SelectedRecord;
}

void TDorvexBaseComponent::FreeDataEngine() {
    if (ownsEngine_) delete CurrentEngine;
    ownsEngine_ = false;
    CurrentEngine = nullptr;
}

void TDorvexBaseComponent::PrepareExecute() {
    ExportResult = TExportResult::None;
    LastError.clear();
    changes_ = {};
    SetProgressCanceled(false);
    if (OnBeforeExecute) OnBeforeExecute(*this);
    CreateDataEngine();
    RecordCount = CurrentEngine->GetRecordCount();
    savedSettings_ = settings_;
    settings_ = DataFormats.Apply(settings_);
    changes_.Settings = true;
    if ((Options & soDisableControls) != 0) {
        CurrentEngine->DisableControls();
        changes_.Controls = true;
    }
    if ((Options & soWaitCursor) != 0 && Host().SetWaitCursor) {
        Host().SetWaitCursor(true);
        changes_.WaitCursor = true;
    }
    if (AnimatedStatus) {
        if (RecordCount < 0) RecordCount = 0;
        ShowProgress(KeyGenerator, LanguageString(msgExporting), LanguageString(msgCancel), 0, RecordCount, 0);
    }
    ColumnsDefined = Columns.Count() > 0;
    if (!ColumnsDefined) {
        changes_.Columns = true;
        CurrentEngine->FillColumns(Columns, RightToLeft);
    }
    TotalRowCount = 0;
    VisibleColumnCount = 0;
    for (int i = 0; i < Columns.Count(); ++i)
        if (Columns.Items(i).Visible) ++VisibleColumnCount;
}

void TDorvexBaseComponent::FinishExecute() {
    if (!ColumnsDefined) Columns.Clear();
    std::string text;
    if (ProgressCanceled()) {
        text = LanguageString(msgCanceled);
        ExportResult = TExportResult::Canceled;
    } else {
        ExportResult = TExportResult::Completed;
        text = FormatMessage(LanguageString(msgFileGenerated), FileName);
    }
    if (OnProgress) {
        bool abort = false;
        OnProgress(*this, RecordCount, RecordCount, abort);
    }
    if (AnimatedStatus) {
        UpdateProgress(text, RecordCount);
        HideProgress();
    }
    if ((Options & soShowMessage) != 0 && !AnimatedStatus) ShowMessage(text);
    DoActionAfterExport();
    settings_ = savedSettings_;
    if ((Options & soWaitCursor) != 0 && Host().SetWaitCursor) Host().SetWaitCursor(false);
    if ((Options & soDisableControls) != 0 && CurrentEngine != nullptr) CurrentEngine->EnableControls();
    FreeDataEngine();
    changes_ = {};
    if (OnAfterExecute) OnAfterExecute(*this);
}

void TDorvexBaseComponent::AbandonExecute() {
    if (changes_.Columns) Columns.Clear();
    if (changes_.Settings) settings_ = savedSettings_;
    if (changes_.WaitCursor && Host().SetWaitCursor) Host().SetWaitCursor(false);
    if (changes_.Controls && CurrentEngine != nullptr) CurrentEngine->EnableControls();
    changes_ = {};
    HideProgress();
    FreeDataEngine();
}

void TDorvexBaseComponent::Execute() {
    try {
        PrepareExecute();
        if (AnimatedStatus && ProgressWindowOpen()) RunWithProgress([this] { ExportData(); });
        else ExportData();
        FinishExecute();
    } catch (const Exception& error) {
        AbandonExecute();
        ExportResult = TExportResult::Failed;
        LastError = LanguageString(msgExportError) + ": " + error.Message;
        if ((Options & soShowMessage) != 0) ShowMessage(LastError, true);
    } catch (...) {
        AbandonExecute();
        throw;
    }
}

}  // namespace mlt
