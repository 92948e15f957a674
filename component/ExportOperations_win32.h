// SaveToFile and ShowPDF of the COM object: bind the caller's ADO recordset (a VARIANT
// holding an IDispatch, or a reference to one) in a TADODataSet, configure one exporter
// with CreateReportWriter, run it, and deliver the PDF to a file or through the page's ASP
// Response. Both return the operation's result code; failures that make the call fail
// (bad RS, closed recordset, a run into memory that fails, Clear or ContentType refused)
// are raised as mlt::Exception or EOleError for the member's guard. The caller's
// recordset is never closed.
#pragma once

#include "component/ComSupport_win32.h"

#include <asptlb.h>

#include <string>

#include "component/MarrowlintideSettings.h"

namespace mlt {

// 0, or -1 when Execute raised.
int SaveToFile(const TMarrowlintideSettings& settings, VARIANT* rs, const std::string& fileName, int maxRecords);
// 0, or 1 when building the byte array or a response step from Expires to End failed.
int ShowPDF(const TMarrowlintideSettings& settings, IScriptingContext* context, VARIANT* rs, int maxRecords);

}  // namespace mlt
