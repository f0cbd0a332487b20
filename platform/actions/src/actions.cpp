#include "kavo_actions/actions.hpp"

namespace kavo_actions {

ActionSpec::ActionSpec(std::string operation, std::string label, std::string action_id, Json payload, uint8_t effect_class)
    : m_operation(std::move(operation))
    , m_label(std::move(label))
    , m_action_id(std::move(action_id))
    , m_payload(std::move(payload))
    , m_class(effect_class)
{
}

ActionSpec& ActionSpec::with_contract(Contract contract)
{
    m_contract = std::move(contract);
    return *this;
}

ActionSpec& ActionSpec::destructive(bool on)
{
    m_destructive = on;
    return *this;
}

ActionSpec& ActionSpec::execution(Execution execution)
{
    m_execution = execution;
    return *this;
}

ActionSpec& ActionSpec::returns(bool on)
{
    m_returns = on;
    return *this;
}

ActionSpec& ActionSpec::with_param(Param param)
{
    m_params.push_back(std::move(param));
    return *this;
}

Json ActionSpec::to_json() const
{
    Json params = Json::array();
    for (const auto& p : m_params)
        params.push_back({{"name", p.name}, {"label", p.label}, {"default", p.default_value}});
    Json reason = nullptr;
    if (!m_contract.available)
        reason = {{"code", m_contract.code}, {"text", m_contract.text}};
    return {
        {"operation", m_operation},
        {"label", m_label},
        {"action", m_action_id},
        {"payload", m_payload},
        {"class", m_class},
        {"destructive", m_destructive},
        {"execution", m_execution == Execution::Tracked ? "tracked" : "immediate"},
        {"returns", m_returns},
        {"available", m_contract.available},
        {"reason", reason},
        {"params", params},
    };
}

Resource::Resource(std::string type, std::string identity, std::string label)
    : m_type(std::move(type)), m_identity(std::move(identity)), m_label(std::move(label))
{
}

Resource& Resource::with_action(ActionSpec action)
{
    m_actions.push_back(std::move(action));
    return *this;
}

Json Resource::to_json() const
{
    Json actions = Json::array();
    for (const auto& a : m_actions)
        actions.push_back(a.to_json());
    return {{"type", m_type}, {"id", m_identity}, {"label", m_label}, {"actions", actions}};
}

Json to_json(const std::vector<Resource>& resources)
{
    Json out = Json::array();
    for (const auto& r : resources)
        out.push_back(r.to_json());
    return out;
}

ActionArgs::ActionArgs(Json object) : m_args(object.is_object() ? std::move(object) : Json::object()) {}

std::optional<std::string> ActionArgs::text(std::string_view name) const
{
    auto it = m_args.find(name);
    if (it == m_args.end() || !it->is_string())
        return std::nullopt;
    return it->get<std::string>();
}

std::optional<int64_t> ActionArgs::integer(std::string_view name) const
{
    auto it = m_args.find(name);
    if (it == m_args.end() || !it->is_number_integer())
        return std::nullopt;
    return it->get<int64_t>();
}

std::string ActionAddress::encode() const
{
    Json fields = {app_id, resource_type, identity, action_id, payload};
    return "kavo-action:" + fields.dump();
}

std::optional<ActionAddress> ActionAddress::decode(std::string_view text)
{
    constexpr std::string_view prefix = "kavo-action:";
    if (text.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    auto fields = Json::parse(text.substr(prefix.size()), nullptr, false);
    if (!fields.is_array() || fields.size() != 5)
        return std::nullopt;
    for (size_t i = 0; i < 4; ++i)
        if (!fields[i].is_string())
            return std::nullopt;
    return ActionAddress{fields[0].get<std::string>(), fields[1].get<std::string>(), fields[2].get<std::string>(),
                         fields[3].get<std::string>(), fields[4]};
}

ActionContext& ActionContext::with_facet(std::string name, std::string value)
{
    for (auto& [n, v] : m_facets)
        if (n == name) {
            v = std::move(value);
            return *this;
        }
    m_facets.emplace_back(std::move(name), std::move(value));
    return *this;
}

std::optional<std::string> ActionContext::facet(std::string_view name) const
{
    for (const auto& [n, v] : m_facets)
        if (n == name)
            return v;
    return std::nullopt;
}

Json derive_input(const ActionSpec& spec, const ActionArgs& args)
{
    if (spec.params().empty())
        return spec.payload();
    const Param& first = spec.params().front();
    auto it = args.raw().find(first.name);
    if (it != args.raw().end() && !it->is_null())
        return *it;
    if (!spec.payload().is_null())
        return spec.payload();
    return first.default_value;
}

std::expected<void, std::string> enforce_operation_type(uint8_t expected, std::optional<int> given, std::string_view refusal)
{
    if (!given || *given != int(expected))
        return std::unexpected(std::string(refusal));
    return {};
}

Resource control_resource(std::string control_id, std::string label)
{
    Json payload = control_id;
    Resource r(std::string(k_control_resource), std::move(control_id), label);
    r.with_action(ActionSpec("invoke", std::move(label), std::string(k_control_invoke), std::move(payload), 0));
    return r;
}

Resource segmented_resource(std::string control_id, std::string label, size_t segments)
{
    Json payload = control_id;
    Resource r(std::string(k_segmented_resource), std::move(control_id), label);
    r.with_action(ActionSpec("select", std::move(label), std::string(k_segmented_select), std::move(payload), 0)
                      .with_param({"index", "Zero-based segment index", Json(0)})
                      .with_contract(segments > 0 ? Contract::ok() : Contract::unavailable("empty", "The control has no segments")));
    return r;
}

}
