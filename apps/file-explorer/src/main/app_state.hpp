#pragma once

#include "kavo_ui/persist.hpp"

#include <optional>
#include <string>

namespace files::launch {

// The actor name of the application-state document: QUICK_APP_ID when it is valid, non-empty
// text; else "files-" and KAVO_USER_ID when that is set; else "files-" and the first 12 hex
// digits of the document's current actor.
std::string actor_name(const std::optional<std::string>& quick_app_id, const std::optional<std::string>& user_id,
                       const std::vector<uint8_t>& current_actor);

kavo_ui::persist::AppState open_app_state();

}
