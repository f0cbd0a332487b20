#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The action framework: what an application publishes (typed resources with named actions) and
// how an invocation is checked before it reaches the application.
namespace kavo_actions {

using Json = nlohmann::ordered_json;

// Whether an action can run now, and why not.
struct Contract {
    bool available = true;
    std::string code;
    std::string text;

    static Contract ok() { return {}; }
    static Contract unavailable(std::string code, std::string text) { return {false, std::move(code), std::move(text)}; }
    bool operator==(const Contract&) const = default;
};

enum class Execution {
    Immediate,  // runs and is done
    Tracked,    // runs as a tracked execution the caller can follow
};

struct Param {
    std::string name;
    std::string label;
    Json default_value;
};

// One operation on a resource.
class ActionSpec {
public:
    ActionSpec(std::string operation, std::string label, std::string action_id, Json payload, uint8_t effect_class);

    ActionSpec& with_contract(Contract contract);
    ActionSpec& destructive(bool on = true);
    ActionSpec& execution(Execution execution);
    ActionSpec& returns(bool on = true);
    ActionSpec& with_param(Param param);

    const std::string& operation() const { return m_operation; }
    const std::string& label() const { return m_label; }
    const std::string& action_id() const { return m_action_id; }
    const Json& payload() const { return m_payload; }
    uint8_t effect_class() const { return m_class; }
    const Contract& contract() const { return m_contract; }
    bool is_destructive() const { return m_destructive; }
    bool is_returning() const { return m_returns; }
    Execution execution_mode() const { return m_execution; }
    const std::vector<Param>& params() const { return m_params; }

    Json to_json() const;

private:
    std::string m_operation;
    std::string m_label;
    std::string m_action_id;
    Json m_payload;
    uint8_t m_class;
    Contract m_contract;
    bool m_destructive = false;
    bool m_returns = false;
    Execution m_execution = Execution::Immediate;
    std::vector<Param> m_params;
};

// A typed object the application exposes: type id, instance identity, label and its actions.
class Resource {
public:
    Resource(std::string type, std::string identity, std::string label);
    Resource& with_action(ActionSpec action);

    const std::string& type() const { return m_type; }
    const std::string& identity() const { return m_identity; }
    const std::string& label() const { return m_label; }
    const std::vector<ActionSpec>& actions() const { return m_actions; }

    Json to_json() const;

private:
    std::string m_type;
    std::string m_identity;
    std::string m_label;
    std::vector<ActionSpec> m_actions;
};

Json to_json(const std::vector<Resource>& resources);

// Named parameters given at invocation time.
class ActionArgs {
public:
    ActionArgs() = default;
    explicit ActionArgs(Json object);
    std::optional<std::string> text(std::string_view name) const;
    std::optional<int64_t> integer(std::string_view name) const;
    const Json& raw() const { return m_args; }

private:
    Json m_args = Json::object();
};

// Where an action lives, as the platform stores it (search results, launchers).
struct ActionAddress {
    std::string app_id;
    std::string resource_type;
    std::string identity;
    std::string action_id;
    Json payload;

    // "kavo-action:" + the fields as a compact JSON array; decode() reads it back.
    std::string encode() const;
    static std::optional<ActionAddress> decode(std::string_view text);
    bool operator==(const ActionAddress&) const = default;
};

// Facets the platform adds to an invocation (who asked, from where).
class ActionContext {
public:
    ActionContext& with_facet(std::string name, std::string value);
    std::optional<std::string> facet(std::string_view name) const;

private:
    std::vector<std::pair<std::string, std::string>> m_facets;
};

// The input an action runs with: its payload, or the value of its first parameter given as an
// argument (then its default) when the action takes one.
Json derive_input(const ActionSpec& spec, const ActionArgs& args);

// Refuses an invocation whose effect class differs from the one the action was published with.
std::expected<void, std::string> enforce_operation_type(uint8_t expected, std::optional<int> given, std::string_view refusal);

// The toolkit's control invocations: a press of a control, and a segment chosen in a segmented
// control.
inline constexpr std::string_view k_control_resource = "kavo.control";
inline constexpr std::string_view k_control_invoke = "kavo.ui.control.invoke";
inline constexpr std::string_view k_segmented_resource = "kavo.control.segmented";
inline constexpr std::string_view k_segmented_select = "kavo.ui.segmented.select";

Resource control_resource(std::string control_id, std::string label);
Resource segmented_resource(std::string control_id, std::string label, size_t segments);

}
