#include "main/app_state.hpp"
#include "kavo_services/hex.hpp"

#include "files_app/file_explorer_widget.hpp"
#include "kavo_services/utf8.hpp"
#include "kavo_ui/diag.hpp"

#include <cstdlib>

namespace files::launch {

namespace {

std::optional<std::string> env(const char* name)
{
    const char* v = std::getenv(name);
    if (!v)
        return std::nullopt;
    return std::string(v);
}

}

std::string actor_name(const std::optional<std::string>& quick_app_id, const std::optional<std::string>& user_id,
                       const std::vector<uint8_t>& current_actor)
{
    if (quick_app_id && !quick_app_id->empty() && kavo_services::is_valid_utf8(*quick_app_id))
        return *quick_app_id;
    if (user_id && !user_id->empty())
        return "files-" + *user_id;
    std::string hex = kavo_services::to_hex(current_actor);
    return "files-" + hex.substr(0, 12);
}

kavo_ui::persist::AppState open_app_state()
{
    auto state = kavo_ui::persist::open(app::k_app_id);
    std::string name = actor_name(env("QUICK_APP_ID"), env("KAVO_USER_ID"), state.document.actor);
    kavo_ui::diag::write_line("file-explorer: persisted state actor " + name);
    state.document.actor.assign(name.begin(), name.end());
    return state;
}

}
