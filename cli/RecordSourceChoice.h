// The record source that a report's options name: a SQLite query, an ODBC query or a CSV
// file (or standard input), read ahead on a thread of its own while the report is written.
// An ODBC password may come from the environment variable MARROWLINTIDE_ODBC_PASSWORD,
// so that it never shows in the process list. Failures raise EDatabaseError or EInOutError.
#pragma once

#include <memory>

#include "cli/ReportOptions.h"
#include "data/RecordSource.h"

namespace mlt {

std::unique_ptr<TRecordSource> OpenRecordSource(const TReportOptions& options);

}  // namespace mlt
