#include "export/DvxSendTo.h"

namespace mlt {

void TDvxSendTo::Assign(const TPersistent& source) {
    if (auto* other = dynamic_cast<const TDvxSendTo*>(&source)) {
        EMailRecipient = other->EMailRecipient;
        EMailSubject = other->EMailSubject;
        EMailBody = other->EMailBody;
        EMailOpenBeforeSend = other->EMailOpenBeforeSend;
        return;
    }
    TPersistent::Assign(source);
}

}  // namespace mlt
