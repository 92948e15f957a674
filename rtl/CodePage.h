// Text crosses into the system as UTF-8 (SQLite, CSV) or UTF-16 (COM) and is held as
// 8-bit text in the system code page: the ANSI code page on Windows, Windows-1252
// elsewhere. These are the only conversions; a character that the code page cannot hold
// becomes "?".
//
// The 8-bit form has one process-wide switch, TextForm: the modern report with embedded
// fonts holds UTF-8 instead, so that every conversion below gives UTF-8 and nothing is
// lost. The command sets it once, before it reads any text; the DLL never changes it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mlt {

enum class TTextForm { SystemCodePage, Utf8 };
void SetTextForm(TTextForm form);
TTextForm TextForm();

std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);

// One implementation per platform.
std::string WideToAnsi(std::u16string_view text);
// How many characters WideToAnsi has replaced by "?" since the process started, on every
// thread (the conversion of our own, off Windows, counts them).
std::int64_t ReplacedCharacterCount();
std::u16string AnsiToWide(std::string_view text);
// Text of files in a named encoding, whatever the system code page.
std::u16string Windows1252ToWide(std::string_view text);
std::u16string Latin1ToWide(std::string_view text);
// ANSI to the OEM (MS-DOS) code page, byte for byte: code page 437 off Windows.
std::string AnsiToOem(std::string_view text);

// Plain ASCII, the text of most cells, is the same in every one of these code pages.
inline bool IsAscii(std::string_view text) {
    unsigned char high = 0;
    for (char c : text) high |= static_cast<unsigned char>(c);
    return high < 0x80;
}

inline std::string Utf8ToAnsi(std::string_view text) {
    return IsAscii(text) || TextForm() == TTextForm::Utf8 ? std::string(text) : WideToAnsi(Utf8ToWide(text));
}
inline std::string AnsiToUtf8(std::string_view text) { return WideToUtf8(AnsiToWide(text)); }

}  // namespace mlt
