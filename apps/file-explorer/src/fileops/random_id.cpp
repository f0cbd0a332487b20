#include "fileops/random_id.hpp"

#include <uuid/uuid.h>

namespace files::fileops {

std::string random_identifier()
{
    uuid_t id;
    uuid_generate_random(id);
    char text[37];
    uuid_unparse_lower(id, text);
    return std::string(text, 36);
}

}
