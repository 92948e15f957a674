// TDvxCustomBaseComponent: what every exporter shares whatever its format: options, data
// formats, colour style, e-mail settings, header and footer lines, message texts, the
// per-value formatting services and the progress operations.
//
// Format settings belong to the run: outside a run FormatSettings() is the process's
// default; between PrepareExecute and FinishExecute (in TDorvexBaseComponent) it carries
// the DataFormats separators and currency text. Every conversion reads it, so two
// exporters on two threads never see each other's separators. The cancel request used
// when no progress window is open is kept per exporter too.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "data/Field.h"
#include "export/CellType.h"
#include "export/DorvexStyle.h"
#include "export/DvxDataFormats.h"
#include "export/DvxSendTo.h"
#include "rtl/Component.h"
#include "rtl/Font.h"
#include "rtl/ProgressWindow.h"
#include "rtl/Strings.h"

namespace mlt {

// How the last run ended; None before the first run and while one is going.
enum class TExportResult : std::uint8_t { None = 0, Completed = 1, Canceled = 2, Failed = 3 };

enum TDvOption : std::uint8_t {
    soFieldMask = 1, soShowMessage = 2, soBlankRowAfterCaptions = 4, soMergeData = 8, soWaitCursor = 16,
    soDisableControls = 32
};
using TDvOptions = std::uint8_t;

enum TCharacterSet { csANSI_WINDOWS, csASCII_MSDOS };

using TDvxGetLanguageStringEvent = std::function<void(TPersistent& sender, int id, std::string& text)>;
using TDvxGetFileName = std::function<void(TPersistent& sender, int curFileNumber, std::string& fileName)>;
using TDvxProgress = std::function<void(TPersistent& sender, int curValue, int maxValue, bool& abort)>;
using TGetCellParamsEvent = std::function<void(TPersistent& sender, TField* field, std::string& text, TFont& font,
                                               TAlignment& alignment, TColor& background, TCellType& cellType)>;

// The maker's text: progress caption, default mail subject and PDF title.
extern const char* const kDefaultKeyGenerator;

class TDvxCustomBaseComponent : public TComponent {
public:
    explicit TDvxCustomBaseComponent(TComponent* owner = nullptr);
    ~TDvxCustomBaseComponent() override;
    std::string ClassName() const override { return "TDvxCustomBaseComponent"; }
    void Assign(const TPersistent& source) override;

    // Always empty; setting it clears it.
    std::string About() const { return {}; }
    void SetAbout(const std::string&) {}

    std::uint8_t TableType() const { return tableType_; }
    virtual void SetTableType(std::uint8_t value) { tableType_ = value; }

    virtual void ExportData() {}
    virtual void GetDefaultExt(std::string& ext) { ext = ".EXP"; }

    // Value services.
    virtual void GetFieldText(TField* field, std::string& text);
    TCellType GetColumnCellType(TField* field, bool blankIfZero);
    TCellType GetValueCellType(TFieldType dataType, const Variant& value, bool blankIfZero);
    void GetRowColor(int rowIndex, TColor& color);
    std::string ConvertToOem(const std::string& text);

    // Message text `id`, after the OnGetLanguageString hook.
    void GetLanguageString(int id, std::string& text);
    std::string LanguageString(int id);

    // Mails a file (empty text) or a text; the mail interface's result, 0 on success.
    int SendMail(const std::string& fileName, const std::string& text);

    // Progress operations; without a window they only keep the cancel request.
    void ShowProgress(const std::string& caption, const std::string& status, const std::string& cancelCaption,
                      int position, int max, int min);
    void UpdateProgress(const std::string& text, int value);
    bool ProgressCanceled() const;
    void SetProgressCanceled(bool value);
    void HideProgress();
    bool ProgressWindowOpen() const { return progress_ != nullptr; }
    void RunWithProgress(const std::function<void()>& method);

    const TFormatSettings& FormatSettings() const { return settings_; }

    bool AnimatedStatus = true;
    TDvxDataFormats DataFormats;
    std::string KeyGenerator = kDefaultKeyGenerator;
    bool SelectedRecord = false;
    bool BlankIfZero = false;
    TDvOptions Options = soShowMessage | soWaitCursor | soDisableControls;
    bool RightToLeft = false;
    TDvxSendTo SendTo;

    TDvxGetLanguageStringEvent OnGetLanguageString;
    std::function<void(TPersistent& sender)> OnBeforeExecute;
    std::function<void(TPersistent& sender)> OnAfterExecute;
    TDvxGetFileName OnGetFileName;
    TDvxProgress OnProgress;

    TCharacterSet CharacterSet = csANSI_WINDOWS;
    int RowsPerFile = 0;
    bool AddTitle = false;
    TStrings Header;
    TStrings Footer;
    TGetCellParamsEvent OnGetCellParams;
    TDorvexStyle ColorStyle;
    int RecordLimit = 0;
    TExportResult ExportResult = TExportResult::None;
    // The text of the last failure (an export error, a mail that could not be sent), as
    // the message would show it; empty after a run without one.
    std::string LastError;
    int TotalRowCount = 0;
    char FieldDelimiter = '\t';
    char TextQualifier = '\0';
    std::string RecordSeparator = "\r\n";

protected:
    void ShowMessage(const std::string& text, bool error = false);

    TFormatSettings settings_;
    TFormatSettings savedSettings_;

private:
    std::uint8_t tableType_ = 0;
    std::unique_ptr<TProgressWindow> progress_;
    bool cancelRequested_ = false;
};

}  // namespace mlt
