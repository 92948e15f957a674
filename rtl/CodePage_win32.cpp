#include <windows.h>
#undef AnsiToOem  // winuser.h maps it to CharToOemA

#include <algorithm>
#include <atomic>

#include "rtl/CodePage.h"

namespace mlt {

namespace {

std::atomic<std::int64_t> replaced{0};

}  // namespace

std::int64_t ReplacedCharacterCount() { return replaced.load(std::memory_order_relaxed); }

std::string WideToAnsi(std::u16string_view text) {
    if (text.empty()) return {};
    auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    int length = static_cast<int>(text.size());
    int n = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), n, "?", &usedDefault);
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
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(codePage, 0, text.data(), length, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

}  // namespace

std::u16string AnsiToWide(std::string_view text) { return CodePageToWide(CP_ACP, text); }

std::u16string Windows1252ToWide(std::string_view text) { return CodePageToWide(1252, text); }

std::string AnsiToOem(std::string_view text) {
    std::string out(text);
    if (!out.empty()) CharToOemBuffA(out.data(), out.data(), static_cast<DWORD>(out.size()));
    return out;
}

}  // namespace mlt
