// Making CFErrors from inside the library.
#pragma once

#include <CoreFoundation/CFError.h>

#include <string>

namespace cf {

// Stores a new error in *error when error is not NULL.
void setError(CFErrorRef* error, CFErrorDomain domain, CFIndex code,
              const std::string& description);

} // namespace cf
