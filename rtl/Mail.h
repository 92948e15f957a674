// Simple mail: one message with an optional recipient and an optional attached file,
// handed to the platform's mail interface. On Windows that is Simple MAPI
// ("MAPISendMail" in "MAPI32.DLL"); elsewhere a sendmail-compatible program.
#pragma once

#include <string>

namespace mlt {

constexpr unsigned long kMapiLogonUI = 1;
constexpr unsigned long kMapiDialog = 8;

struct TMailMessage {
    std::string Subject;
    std::string NoteText;
    std::string Recipient;       // empty: no recipient
    std::string AttachmentPath;  // empty: no attachment
    unsigned long Flags = kMapiLogonUI;
};

// The mail interface's result: 0 on success; -1 when the mail library (or program) is
// missing; 1 when the library lacks its send function; else the interface's own code.
int SendMailMessage(const TMailMessage& message);

}  // namespace mlt
