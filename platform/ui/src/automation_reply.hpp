#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace kavo_ui::automation {

nlohmann::json ok_reply(nlohmann::json id, nlohmann::json result);
nlohmann::json error_reply(nlohmann::json id, std::string text);

// The reply as one line, newline included. Text that is not valid UTF-8 (a host may put raw file
// names into a result) is written with U+FFFD instead of failing the whole reply.
std::string reply_line(const nlohmann::json& reply);

}
