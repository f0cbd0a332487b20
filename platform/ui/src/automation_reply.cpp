#include "automation_reply.hpp"

namespace kavo_ui::automation {

nlohmann::json ok_reply(nlohmann::json id, nlohmann::json result)
{
    return {{"id", std::move(id)}, {"ok", true}, {"result", std::move(result)}};
}

nlohmann::json error_reply(nlohmann::json id, std::string text)
{
    return {{"id", std::move(id)}, {"ok", false}, {"error", std::move(text)}};
}

std::string reply_line(const nlohmann::json& reply)
{
    std::string line = reply.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    line.push_back('\n');
    return line;
}

}
