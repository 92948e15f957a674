// The message table: one default text per id, 0 to 124. Ids without a text, and ids
// outside the table, give an empty text. Exporters reach the texts through
// GetLanguageString, whose hook may replace any of them.
#pragma once

#include <string>

namespace mlt {

constexpr int kMessageCount = 125;

enum TDvxMessageId {
    msgPropertyNotSpecified = 0,
    msgUnsupportedGrid = 1,
    msgFileGenerated = 2,
    msgExportError = 3,
    msgCantCreateProgress = 9,
    msgExporting = 8,
    msgCancel = 12,
    msgCanceled = 16,
};

std::string DefaultMessage(int id);

}  // namespace mlt
