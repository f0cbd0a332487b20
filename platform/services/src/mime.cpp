#include "kavo_services/mime.hpp"

namespace kavo_services {

std::string mime_type_for_extension(std::string_view) { return std::string(k_octet_stream); }

}
