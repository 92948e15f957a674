#include "rtl/MimeMessage.h"

#include "rtl/CodePage.h"
#include "rtl/FilePath.h"
#include "rtl/FileStream.h"

namespace mlt {

std::string Base64Encode(std::string_view bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4 + bytes.size() / 57 * 2);
    std::size_t lineChars = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
        if ((lineChars += 4) == 76) {
            out += "\r\n";
            lineChars = 0;
        }
    }
    if (lineChars != 0) out += "\r\n";
    return out;
}

namespace {

std::string ReadFile(const std::string& path) {
    TFileStream file(path, TFileMode::OpenRead);
    std::string bytes;
    char chunk[65536];
    for (std::size_t n; (n = file.Read(chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
    return bytes;
}

// A header value on one line: a line break in a subject or an address would start a
// header of its own (a Bcc, say) that sendmail -t obeys.
std::string HeaderValue(std::string value) {
    for (char& c : value)
        if (c == '\r' || c == '\n') c = ' ';
    return value;
}

}  // namespace

std::string BuildMimeMessage(const TMailMessage& message, const std::string& boundary) {
    std::string out;
    if (!message.Recipient.empty()) out += "To: " + HeaderValue(message.Recipient) + "\r\n";
    out += "Subject: " + HeaderValue(AnsiToUtf8(message.Subject)) + "\r\n";
    out += "MIME-Version: 1.0\r\n";
    const std::string textPart = "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: 8bit\r\n\r\n" +
                                 AnsiToUtf8(message.NoteText) + "\r\n";
    if (message.AttachmentPath.empty()) return out + textPart;
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\n" + textPart;
    const std::string name = HeaderValue(AnsiToUtf8(ExtractFileName(message.AttachmentPath)));
    out += "--" + boundary + "\r\n";
    out += "Content-Type: application/octet-stream; name=\"" + name + "\"\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n\r\n";
    out += Base64Encode(ReadFile(message.AttachmentPath));
    out += "--" + boundary + "--\r\n";
    return out;
}

}  // namespace mlt
