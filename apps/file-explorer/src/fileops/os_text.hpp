#pragma once

#include "kavo_services/error.hpp"

#include <string>

namespace files::fileops {

// The system's text for an errno, as every file operation reports it.
inline std::string os_text(int errnum) { return kavo_services::Error::from_errno(errnum).text; }

}
