#include "component/ModernWriter.h"

#include "rtl/Exception.h"

namespace mlt {

std::unique_ptr<TDorvexToPDF> CreateModernWriter(const TReportDescription&, int) {
    throw Exception("The modern report is not part of the Windows build");
}

}  // namespace mlt
