// The export recipe shared by the COM object and the command line: one TDorvexToPDF,
// configured from the component settings over a dataset, with one export column per
// field. Widths, captions and alignments come from the comma lists when they are set,
// else from the field (declared size, then data size; name). The exporter is not run.
#pragma once

#include <memory>

#include "component/MarrowlintideSettings.h"
#include "data/DataSet.h"
#include "pdf/DorvexToPDF.h"

namespace mlt {

std::unique_ptr<TDorvexToPDF> CreateExporter(const TMarrowlintideSettings& settings, TDataSet& dataSet,
                                             int maxRecords);

}  // namespace mlt
