#pragma once
// Reading the error object of an OCR service answer, for reports that name the reason.
#include <optional>
#include <string_view>

#include "base/text.h"

namespace lumenta {

struct ServiceError {
  Text code;     // "216201", or "invalid_client" for the token path
  Text message;  // "image format error", "unknown client id"; escapes decoded
};

// The error in `answer` (GBK text): {"error_code":N,"error_msg":".."} from the recognition path,
// {"error":"..","error_description":".."} from the token path; nothing when there is neither.
[[nodiscard]] std::optional<ServiceError> FindServiceError(std::string_view answer);

}  // namespace lumenta
