// The modern report's fonts from a report description: the TrueType files it names, or
// DejaVu Sans and DejaVu Sans Bold, each followed by the fallback fonts (those given, or
// else the first CJK font of a Debian package that is installed). ReportFontFactory opens
// every file once, so that a missing, unreadable or unsuitable one raises Exception before
// the report starts; the factory it returns makes a new font for each document and style.
// The portable face only: the DLL writes the standard fonts alone.
#pragma once

#include <functional>
#include <memory>

#include "component/ReportDescription.h"
#include "pdf/fonts/ReportFont.h"
#include "rtl/Font.h"

namespace mlt {

std::function<std::unique_ptr<TReportFont>(const TFont&)> ReportFontFactory(const TReportDescription& report);

}  // namespace mlt
