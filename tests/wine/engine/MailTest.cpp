// The engine's mail action on Windows: SendMail loads MAPI32.DLL, hands it the message with
// the file attached and returns MAPISendMail's result. (Wine's MAPI32 keeps itself loaded
// through its providers, so whether the library was freed cannot be seen from here.)
// mail_test <dll> <output folder>; reports FAIL and END lines like the other programs.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "EngineCheck.h"
#include "export/DorvexToCellFile.h"

using mlt::test::Check;

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string attachment = std::string(argv[2]) + "\\mailed.txt";
    std::ofstream(attachment) << "the report";

    mlt::TDorvexToCellFile exporter;
    exporter.Options = 0;
    exporter.SendTo.EMailRecipient = "reports@example.com";
    exporter.SendTo.EMailSubject = "Orders";
    exporter.SendTo.EMailOpenBeforeSend = false;
    const int result = exporter.SendMail(attachment, "");
    std::printf("MAPISendMail gave %d\n", result);
    // Wine's MAPI32 accepts the message and answers SUCCESS_SUCCESS; -1 would mean that
    // the library or its entry point was never reached.
    Check(result == 0, "SendMail does not give Wine's result 0");
    DeleteFileA(attachment.c_str());
    std::printf("END mail\n");
    return mlt::test::Failures() == 0 ? 0 : 1;
}
