// The one place where a report description becomes a writer: a TDorvexToPDF over the
// dataset, configured from the description, with one export column per field. Widths,
// captions and alignments come from the comma lists when they are set, else from the
// field (declared size, then data size; name). The writer is not run. The texts must be
// in the report's form: SetTextForm(report.TextForm()) before the sources open, else
// CreateReportWriter throws Exception.
#pragma once

#include <memory>

#include "component/ReportDescription.h"
#include "data/DataSet.h"
#include "pdf/DorvexToPDF.h"

namespace mlt {

std::unique_ptr<TDorvexToPDF> CreateReportWriter(const TReportDescription& report, TDataSet& dataSet);

}  // namespace mlt
