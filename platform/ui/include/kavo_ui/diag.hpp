#pragma once

#include <string_view>

namespace kavo_ui::diag {

// Writes one diagnostic line to standard error in a single write.
void write_line(std::string_view line);

}
