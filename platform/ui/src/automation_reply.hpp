#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace kavo_ui::automation {

nlohmann::ordered_json ok_reply(nlohmann::ordered_json id, nlohmann::ordered_json result);
nlohmann::ordered_json error_reply(nlohmann::ordered_json id, std::string text);

// The reply as one line, newline included. Text that is not valid UTF-8 (a host may put raw file
// names into a result) is written with U+FFFD instead of failing the whole reply.
std::string reply_line(const nlohmann::ordered_json& reply);

}
