#include "kavo_services/logger.hpp"

#include <spdlog/cfg/env.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

namespace kavo_services {

void install_logger()
{
    auto logger = spdlog::stderr_color_mt("files");
    logger->set_pattern("[%H:%M:%S.%e] [%^%l%$] %v");
    spdlog::set_default_logger(logger);
    spdlog::set_level(spdlog::level::warn);
    spdlog::cfg::load_env_levels();
}

}
