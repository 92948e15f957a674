#include "component/ReportFonts.h"

#include <string>
#include <vector>

#include "pdf/fonts/EmbeddedFont.h"
#include "rtl/FileHandle.h"

namespace mlt {

namespace {

constexpr const char* kRegular = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
// TrueType CJK fonts of Debian packages (fonts-wqy-microhei, fonts-wqy-zenhei,
// fonts-droid-fallback), in order of preference. Noto CJK has PostScript outlines, which
// a CIDFontType2 cannot carry.
constexpr const char* kCjkFallbacks[] = {
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
    "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf",
};

}  // namespace

std::function<std::unique_ptr<TReportFont>(const TFont&)> ReportFontFactory(const TReportDescription& report) {
    const std::string regular = report.Font.empty() ? kRegular : report.Font;
    const std::string bold = report.BoldFont.empty() ? kBold : report.BoldFont;
    std::vector<std::string> fallbacks = report.FallbackFonts;
    if (fallbacks.empty())
        for (const char* path : kCjkFallbacks)
            if (FileExists(path)) {
                fallbacks.emplace_back(path);
                break;
            }
    auto factory = [regular, bold, fallbacks](const TFont& font) -> std::unique_ptr<TReportFont> {
        std::vector<std::unique_ptr<TTrueTypeFont>> chain;
        chain.push_back(std::make_unique<TTrueTypeFont>(font.HasStyle(fsBold) ? bold : regular));
        for (const std::string& path : fallbacks) chain.push_back(std::make_unique<TTrueTypeFont>(path));
        return std::make_unique<TEmbeddedFont>(std::move(chain));
    };
    // Every file is opened once now, so that a bad one stops the run before it starts.
    TFont probe;
    factory(probe);
    probe.Style = fsBold;
    factory(probe);
    return factory;
}

}  // namespace mlt
