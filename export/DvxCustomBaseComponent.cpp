#include "export/DvxCustomBaseComponent.h"

#include "export/DvxMessages.h"
#include "rtl/Exception.h"
#include "rtl/Host.h"
#include "rtl/TextUtils.h"

namespace mlt {

const char* const kDefaultKeyGenerator = "www.marrowlintide.org";

TDvxCustomBaseComponent::TDvxCustomBaseComponent(TComponent* owner)
    : TComponent(owner), settings_(DefaultFormatSettings()), savedSettings_(settings_) {}

TDvxCustomBaseComponent::~TDvxCustomBaseComponent() = default;

void TDvxCustomBaseComponent::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TDvxCustomBaseComponent*>(&source);
    if (other == nullptr) {
        TComponent::Assign(source);
        return;
    }
    Header.Assign(other->Header);
    Footer.Assign(other->Footer);
    RowsPerFile = other->RowsPerFile;
    SetTableType(other->TableType());
    AnimatedStatus = other->AnimatedStatus;
    DataFormats.Assign(other->DataFormats);
    KeyGenerator = other->KeyGenerator;
    SelectedRecord = other->SelectedRecord;
    BlankIfZero = other->BlankIfZero;
    Options = other->Options;
    RightToLeft = other->RightToLeft;
    SendTo.Assign(other->SendTo);
    OnGetLanguageString = other->OnGetLanguageString;
    OnBeforeExecute = other->OnBeforeExecute;
    OnAfterExecute = other->OnAfterExecute;
    OnGetFileName = other->OnGetFileName;
    OnProgress = other->OnProgress;
    AddTitle = other->AddTitle;
    CharacterSet = other->CharacterSet;
    OnGetCellParams = other->OnGetCellParams;
    ColorStyle.Assign(other->ColorStyle);
    TextQualifier = other->TextQualifier;
    FieldDelimiter = other->FieldDelimiter;
    RecordSeparator = other->RecordSeparator;
}

void TDvxCustomBaseComponent::GetLanguageString(int id, std::string& text) {
    text = DefaultMessage(id);
    if (OnGetLanguageString) OnGetLanguageString(*this, id, text);
}

std::string TDvxCustomBaseComponent::LanguageString(int id) {
    std::string text;
    GetLanguageString(id, text);
    return text;
}

void TDvxCustomBaseComponent::ShowMessage(const std::string& text, bool error) {
    if (Host().MessageBox) Host().MessageBox(text, error ? TMessageKind::Error : TMessageKind::Information);
}

void TDvxCustomBaseComponent::ShowProgress(const std::string& caption, const std::string& status,
                                           const std::string& cancelCaption, int position, int max, int min) {
    cancelRequested_ = false;
    HideProgress();
    if (!Host().CreateProgressWindow) return;  // this host has no window facility
    try {
        progress_ = Host().CreateProgressWindow();
    } catch (const Exception&) {
        progress_.reset();
    }
    if (!progress_) {
        ShowMessage(DefaultMessage(msgCantCreateProgress), true);
        return;
    }
    progress_->SetCanceled(false);
    progress_->Show(caption, status, cancelCaption, position, max, min);
}

void TDvxCustomBaseComponent::UpdateProgress(const std::string& text, int value) {
    if (!progress_) return;
    progress_->Update(text + " (" + IntToStr(value) + "/" + IntToStr(progress_->Max()) + ")", value);
}

bool TDvxCustomBaseComponent::ProgressCanceled() const {
    return progress_ ? progress_->Canceled() : cancelRequested_;
}

void TDvxCustomBaseComponent::SetProgressCanceled(bool value) {
    if (progress_) progress_->SetCanceled(value);
    else cancelRequested_ = value;
}

void TDvxCustomBaseComponent::HideProgress() {
    if (!progress_) return;
    progress_->Hide();
    progress_.reset();
}

void TDvxCustomBaseComponent::RunWithProgress(const std::function<void()>& method) {
    if (progress_) progress_->RunModal(method);
    else method();
}

}  // namespace mlt
