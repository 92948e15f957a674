#include <windows.h>
#undef AnsiToOem  // winuser.h maps it to CharToOemA

#include <algorithm>
#include <atomic>

#include "rtl/CodePage.h"
#include "rtl/Exception.h"
#include "rtl/TextUtils.h"

namespace mlt {

namespace {

std::atomic<std::int64_t> replaced{0};

[[noreturn]] void ConversionFailed(const char* what) {
    throw EConvertError(std::string(what) + " failed (Windows error " +
                        IntToStr(static_cast<std::int64_t>(GetLastError())) + ")");
}

}  // namespace

std::int64_t ReplacedCharacterCount() { return replaced.load(std::memory_order_relaxed); }

std::string WideToAnsi(std::u16string_view text) {
    if (text.empty()) return {};
    auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    int length = static_cast<int>(text.size());
    // On a system whose ANSI code page is UTF-8 every character has bytes, and
    // WideCharToMultiByte refuses a default character (and its report) for that code page.
    const UINT codePage = TextForm() == TTextForm::Utf8 ? CP_UTF8 : GetACP();
    const bool utf8 = codePage == CP_UTF8;
    const char* fallback = utf8 ? nullptr : "?";
    int n = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, fallback, nullptr);
    if (n <= 0) ConversionFailed("Converting text to the ANSI code page");
    std::string out(static_cast<std::size_t>(n), '\0');
    BOOL usedDefault = FALSE;
    if (WideCharToMultiByte(codePage, 0, wide, length, out.data(), n, fallback, utf8 ? nullptr : &usedDefault) != n)
        ConversionFailed("Converting text to the ANSI code page");
    // The replacements are the question marks that the text did not have.
    if (usedDefault)
        replaced.fetch_add(std::count(out.begin(), out.end(), '?') - std::count(text.begin(), text.end(), u'?'),
                           std::memory_order_relaxed);
    return out;
}

namespace {

std::u16string CodePageToWide(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    int length = static_cast<int>(text.size());
    int n = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (n <= 0) ConversionFailed("Converting text to UTF-16");
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    if (MultiByteToWideChar(codePage, 0, text.data(), length, reinterpret_cast<wchar_t*>(out.data()), n) != n)
        ConversionFailed("Converting text to UTF-16");
    return out;
}

}  // namespace

std::u16string AnsiToWide(std::string_view text) {
    return CodePageToWide(TextForm() == TTextForm::Utf8 ? CP_UTF8 : CP_ACP, text);
}

std::u16string Windows1252ToWide(std::string_view text) { return CodePageToWide(1252, text); }

std::string AnsiToOem(std::string_view text) {
    std::string out(text);
    if (!out.empty() && !CharToOemBuffA(out.data(), out.data(), static_cast<DWORD>(out.size())))
        ConversionFailed("Converting text to the OEM code page");
    return out;
}

}  // namespace mlt
