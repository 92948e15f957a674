// The modern writer for a report description, configured with the modern report's own
// settings; the description's common settings are the recipe's to apply. The Windows
// build has no modern writer and raises an Exception.
#pragma once

#include <memory>

#include "component/ReportDescription.h"
#include "pdf/DorvexToPDF.h"

namespace mlt {

std::unique_ptr<TDorvexToPDF> CreateModernWriter(const TReportDescription& report, int fieldCount);

}  // namespace mlt
