#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "export/DorvexToCellFile.h"
#include "rtl/MimeMessage.h"
#include "tests/support/TempFiles.h"

using namespace mlt;

namespace {

// A sendmail stand-in that saves its arguments and message, and exits with a chosen code.
class FakeSendmail {
public:
    explicit FakeSendmail(int exitCode) {
        dir_ = std::filesystem::temp_directory_path() / ("mlt_mail_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        script_ = dir_ / "sendmail";
        std::ofstream(script_) << "#!/bin/sh\necho \"$@\" > '" << (dir_ / "args").string() << "'\ncat > '"
                               << (dir_ / "message").string() << "'\nexit " << exitCode << "\n";
        std::filesystem::permissions(script_, std::filesystem::perms::owner_all);
        ::setenv("MARROWLINTIDE_SENDMAIL", script_.c_str(), 1);
    }
    ~FakeSendmail() {
        ::unsetenv("MARROWLINTIDE_SENDMAIL");
        std::filesystem::remove_all(dir_);
    }
    std::string Args() const { return test::ReadAll(dir_ / "args"); }
    std::string Message() const { return test::ReadAll(dir_ / "message"); }
    std::filesystem::path Dir() const { return dir_; }

private:
    std::filesystem::path dir_, script_;
};

std::string Base64Decode(const std::string& text) {
    std::string out;
    int bits = 0, value = 0;
    for (char c : text) {
        const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const char* at = c ? std::strchr(digits, c) : nullptr;
        if (at == nullptr) continue;
        value = value << 6 | static_cast<int>(at - digits);
        if ((bits += 6) >= 8) out += static_cast<char>((value >> (bits -= 8)) & 0xFF);
    }
    return out;
}

}  // namespace

TEST(SendMail, AttachesTheFileAndFallsBackToTheGeneratorAsSubject) {
    FakeSendmail sendmail(0);
    auto file = sendmail.Dir() / "report.pdf";
    std::string bytes = "%PDF-1.2\r\n\x00\xff\x80 binary\r\n%%EOF\r\n";
    bytes += std::string(1000, '\x7f');
    std::ofstream(file, std::ios::binary) << bytes;
    TDorvexToCellFile exporter;
    exporter.KeyGenerator = "Marrowlintide";
    exporter.SendTo.EMailRecipient = "boss@example.org";
    exporter.SendTo.EMailBody = "Here it is";
    EXPECT_EQ(exporter.SendMail(file.string(), ""), 0);
    EXPECT_EQ(sendmail.Args(), "-t -i\n");
    std::string message = sendmail.Message();
    EXPECT_NE(message.find("To: boss@example.org\r\n"), std::string::npos);
    EXPECT_NE(message.find("Subject: Marrowlintide\r\n"), std::string::npos);
    EXPECT_NE(message.find("Here it is\r\n"), std::string::npos);
    EXPECT_EQ(std::count(message.begin(), message.end(), '@'), 1) << "exactly one recipient";
    std::size_t start = message.find("filename=\"report.pdf\"\r\n\r\n");
    ASSERT_NE(start, std::string::npos);
    start = message.find("\r\n\r\n", start) + 4;
    std::size_t end = message.find("--=_", start);
    EXPECT_EQ(Base64Decode(message.substr(start, end - start)), bytes);
}

TEST(SendMail, SendsATextWithoutAttachment) {
    FakeSendmail sendmail(0);
    TDorvexToCellFile exporter;
    exporter.SendTo.EMailSubject = "Daily";
    exporter.SendTo.EMailBody = "Body";
    EXPECT_EQ(exporter.SendMail("/no/such/file.pdf", "Done"), 0);
    std::string message = sendmail.Message();
    EXPECT_NE(message.find("Subject: Daily\r\n"), std::string::npos);
    EXPECT_NE(message.find("Body\r\nDone\r\n"), std::string::npos);
    EXPECT_EQ(message.find("multipart"), std::string::npos);
    EXPECT_EQ(message.find("To:"), std::string::npos) << "no recipient given";
}

TEST(SendMail, LineBreaksCannotAddHeaders) {
    FakeSendmail sendmail(0);
    TDorvexToCellFile exporter;
    exporter.SendTo.EMailRecipient = "a@example.com\nBcc: b@example.com";
    exporter.SendTo.EMailSubject = "Daily\r\nBcc: c@example.com";
    EXPECT_EQ(exporter.SendMail("", "text"), 0);
    std::string message = sendmail.Message();
    EXPECT_EQ(message.find("\nBcc:"), std::string::npos) << message;
    EXPECT_NE(message.find("To: a@example.com Bcc: b@example.com\r\n"), std::string::npos) << message;
    EXPECT_NE(message.find("Subject: Daily  Bcc: c@example.com\r\n"), std::string::npos) << message;
}

TEST(SendMail, ReportsTheProgramsOutcome) {
    {
        FakeSendmail failing(75);
        TDorvexToCellFile exporter;
        exporter.Options = 0;
        EXPECT_EQ(exporter.SendMail("", "text"), 75);
    }
    ::setenv("MARROWLINTIDE_SENDMAIL", "/nonexistent/sendmail", 1);
    TDorvexToCellFile exporter;
    exporter.Options = 0;
    EXPECT_EQ(exporter.SendMail("", "text"), -1);
    ::unsetenv("MARROWLINTIDE_SENDMAIL");
    FakeSendmail sendmail(0);
    EXPECT_EQ(exporter.SendMail("/no/such/attachment.pdf", ""), -1) << "an unreadable attachment is not sent";
}

TEST(SendMail, Base64WrapsAt76Characters) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("M"), "TQ==\r\n");
    EXPECT_EQ(Base64Encode("Ma"), "TWE=\r\n");
    EXPECT_EQ(Base64Encode("Man"), "TWFu\r\n");
    std::string line = Base64Encode(std::string(57, 'x'));
    EXPECT_EQ(line.size(), 76u + 2);
    EXPECT_EQ(Base64Encode(std::string(58, 'x')).find("\r\n"), 76u);
}
