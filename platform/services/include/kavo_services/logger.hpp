#pragma once

namespace kavo_services {

// Installs the formatted diagnostic logger on standard error; the level filter comes from
// SPDLOG_LEVEL (for example "debug" or "info,files=trace").
void install_logger();

}
