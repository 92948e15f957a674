#include <windows.h>
#include <mapi.h>

#include "rtl/Mail.h"

namespace mlt {

int SendMailMessage(const TMailMessage& message) {
    HMODULE library = LoadLibraryA("MAPI32.DLL");
    if (library == nullptr) return -1;
    // Through void*: FARPROC and the real signature are unrelated function types.
    auto send = reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(GetProcAddress(library, "MAPISendMail")));
    if (send == nullptr) {
        FreeLibrary(library);
        return 1;
    }
    MapiMessage mapi{};
    mapi.lpszSubject = const_cast<char*>(message.Subject.c_str());
    mapi.lpszNoteText = const_cast<char*>(message.NoteText.c_str());
    MapiFileDesc file{};
    if (!message.AttachmentPath.empty()) {
        file.nPosition = static_cast<ULONG>(-1);
        file.lpszPathName = const_cast<char*>(message.AttachmentPath.c_str());
        mapi.nFileCount = 1;
        mapi.lpFiles = &file;
    }
    MapiRecipDesc recipient{};
    if (!message.Recipient.empty()) {
        recipient.ulRecipClass = MAPI_TO;
        recipient.lpszName = const_cast<char*>(message.Recipient.c_str());
        recipient.lpszAddress = const_cast<char*>(message.Recipient.c_str());
        mapi.nRecipCount = 1;
        mapi.lpRecips = &recipient;
    }
    ULONG result = 1;
    try {
        result = send(0, reinterpret_cast<ULONG_PTR>(GetActiveWindow()), &mapi, message.Flags, 0);
    } catch (...) {
        FreeLibrary(library);
        throw;
    }
    FreeLibrary(library);
    return static_cast<int>(result);
}

}  // namespace mlt
