#include "automation_reply.hpp"

namespace kavo_ui::automation {

nlohmann::ordered_json ok_reply(nlohmann::ordered_json id, nlohmann::ordered_json result)
{
    return {{"id", std::move(id)}, {"ok", true}, {"result", std::move(result)}};
}

nlohmann::ordered_json error_reply(nlohmann::ordered_json id, std::string text)
{
    return {{"id", std::move(id)}, {"ok", false}, {"error", std::move(text)}};
}

std::string reply_line(const nlohmann::ordered_json& reply)
{
    std::string line = reply.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    line.push_back('\n');
    return line;
}

}
