#pragma once

#include "kavo_services/unique_fd.hpp"

namespace files::fileops {

using kavo_services::UniqueFd;

}
