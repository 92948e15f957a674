// What follows a finished export: open the file, or mail it.
#include "export/DorvexBaseComponent.h"
#include "rtl/Mail.h"
#include "rtl/Shell.h"
#include "rtl/TextUtils.h"

namespace mlt {

void TDorvexBaseComponent::DoActionAfterExport() {
    switch (ActionAfterExport) {
        case aeNone:
            break;
        case aeOpenView:
            ShellOpen(FileName);
            break;
        case aeEMail:
            SendMail(FileName, std::string());
            break;
    }
}

int TDvxCustomBaseComponent::SendMail(const std::string& fileName, const std::string& text) {
    TMailMessage message;
    message.Subject = SendTo.EMailSubject.empty() ? KeyGenerator : SendTo.EMailSubject;
    if (!text.empty()) {
        message.NoteText = SendTo.EMailBody + "\r\n" + text;
    } else {
        message.NoteText = SendTo.EMailBody;
        message.AttachmentPath = fileName;
    }
    message.Recipient = SendTo.EMailRecipient;
    message.Flags = kMapiLogonUI;
    if (SendTo.EMailOpenBeforeSend || SendTo.EMailRecipient.empty()) message.Flags |= kMapiDialog;
    int result = SendMailMessage(message);
    if (result != 0) {
        LastError = IntToStr(result) + " Error sending mail";
        if ((Options & soShowMessage) != 0) ShowMessage(LastError, true);
    }
    return result;
}

}  // namespace mlt
