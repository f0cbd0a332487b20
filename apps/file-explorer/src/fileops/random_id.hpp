#pragma once

#include <string>

namespace files::fileops {

// A random RFC 4122 version 4 identifier in its lowercase hyphenated form (36 characters).
std::string random_identifier();

}
