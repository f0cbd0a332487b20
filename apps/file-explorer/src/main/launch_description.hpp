#pragma once

#include "kavo_ui/launch.hpp"

namespace files::launch {

// Everything the toolkit needs to run Files.
kavo_ui::LaunchSpec launch_description();

}
