#pragma once

#include "kavo_services/unique_fd.hpp"

namespace kavo_trash {

using kavo_services::UniqueFd;

}
