// A mail message in MIME form, for hosts that hand mail to a sendmail-compatible
// program: headers, the note text, and the attached file in base64.
#pragma once

#include <string>
#include <string_view>

#include "rtl/Mail.h"

namespace mlt {

std::string Base64Encode(std::string_view bytes);

// The whole message, CR LF line ends. Reading the attachment may raise EInOutError.
std::string BuildMimeMessage(const TMailMessage& message, const std::string& boundary);

}  // namespace mlt
