// TDvxSendTo: the e-mail settings of an export: one recipient, subject, body, and
// whether the mail client's compose window opens before sending.
#pragma once

#include <string>

#include "rtl/Persistent.h"

namespace mlt {

class TDvxSendTo : public TPersistent {
public:
    std::string ClassName() const override { return "TDvxSendTo"; }
    void Assign(const TPersistent& source) override;

    std::string EMailRecipient;
    std::string EMailSubject;
    std::string EMailBody;
    bool EMailOpenBeforeSend = true;
};

}  // namespace mlt
