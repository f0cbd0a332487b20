#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace kavo_ui::persist {

// The replicated application-state document; the actor names the replica that writes to it.
struct StateDocument {
    std::vector<uint8_t> actor;
    nlohmann::ordered_json content = nlohmann::ordered_json::object();
};

// Where the document lives and whether this run created it.
struct Bookkeeping {
    std::filesystem::path file;
    bool created = false;
    bool stored = false;  // false when the state folder could not be written
};

struct AppState {
    StateDocument document;
    Bookkeeping bookkeeping;
};

// Opens the state document of an application: $XDG_STATE_HOME/kavo-ui/<app id>/state.json. A
// missing or unreadable document is created afresh with a random 16-byte actor; when it cannot
// be stored the document still works in memory.
AppState open(std::string_view app_id);

}
