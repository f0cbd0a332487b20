#include "automation_test_support.hpp"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace automation_test {
namespace {

namespace automation = kavo_ui::automation;
using kavo_ui::Key;
using kavo_ui::KeyEvent;
using kavo_ui::PointerAction;
using kavo_ui::PointerButton;
using kavo_ui::PointerEvent;
using kavo_ui::TextEvent;
using kavo_ui::WheelEvent;

// ---------------------------------------------------------------------------------------------
// socket_path

TEST(AutomationSocketPath, FollowsTheEnvironment)
{
    const std::string pid = std::to_string(::getpid());
    struct Row {
        const char* name;
        std::optional<std::string> explicit_socket;
        std::optional<std::string> runtime_dir;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"explicit path wins", "/run/x/app.sock", "/run/user/0", "/run/x/app.sock"},
        {"explicit path without runtime dir", "/tmp/s/a.sock", std::nullopt, "/tmp/s/a.sock"},
        {"set but empty turns it off", "", "/run/user/0", std::nullopt},
        {"unset uses the runtime dir", std::nullopt, "/run/user/0", "/run/user/0/kavo-ui/so.kavo.test." + pid + ".sock"},
        {"no runtime dir", std::nullopt, std::nullopt, std::nullopt},
        {"empty runtime dir", std::nullopt, "", std::nullopt},
        {"relative runtime dir", std::nullopt, "run/user/0", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScopedEnv socket("KAVO_UI_AUTOMATION_SOCKET", row.explicit_socket);
        ScopedEnv runtime("XDG_RUNTIME_DIR", row.runtime_dir);
        auto path = automation::socket_path("so.kavo.test");
        if (row.expected) {
            ASSERT_TRUE(path.has_value());
            EXPECT_EQ(path->string(), *row.expected);
        } else {
            EXPECT_FALSE(path.has_value()) << path->string();
        }
    }
}

TEST(AutomationSocketPath, AppIdCannotLeaveTheFolder)
{
    ScopedEnv socket("KAVO_UI_AUTOMATION_SOCKET", std::nullopt);
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/0");
    auto path = automation::socket_path("../../etc/x");
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->parent_path(), fs::path("/run/user/0/kavo-ui"));
}

// ---------------------------------------------------------------------------------------------
// parse_events

KeyEvent only_key(const json& event)
{
    auto events = automation::parse_events(json::array({event}));
    EXPECT_TRUE(events.has_value()) << event.dump() << ": " << events.error();
    if (!events || events->size() != 1 || !std::holds_alternative<KeyEvent>(events->front()))
        return {};
    return std::get<KeyEvent>(events->front());
}

TEST(AutomationEvents, KeyNames)
{
    struct Row {
        const char* name;
        Key key;
        char32_t character;
    };
    const Row rows[] = {
        {"Enter", Key::Enter, 0},   {"Escape", Key::Escape, 0},       {"Up", Key::Up, 0},
        {"Down", Key::Down, 0},     {"Left", Key::Left, 0},           {"Right", Key::Right, 0},
        {"Home", Key::Home, 0},     {"End", Key::End, 0},             {"Backspace", Key::Backspace, 0},
        {"Delete", Key::Delete, 0}, {"Tab", Key::Tab, 0},             {"Menu", Key::Menu, 0},
        {"F1", Key::F1, 0},         {"F2", Key::F2, 0},               {"F3", Key::F3, 0},
        {"F4", Key::F4, 0},         {"F5", Key::F5, 0},               {"F6", Key::F6, 0},
        {"F7", Key::F7, 0},         {"F8", Key::F8, 0},               {"F9", Key::F9, 0},
        {"F10", Key::F10, 0},       {"F11", Key::F11, 0},             {"F12", Key::F12, 0},
        {"a", Key::Character, U'a'}, {"A", Key::Character, U'a'},     {"F", Key::Character, U'f'},
        {"1", Key::Character, U'1'}, {" ", Key::Character, U' '},     {"/", Key::Character, U'/'},
        {"Ä", Key::Character, U'ä'}, {"€", Key::Character, U'€'},     {"😀", Key::Character, U'😀'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        KeyEvent key = only_key({{"type", "key"}, {"key", row.name}});
        EXPECT_EQ(key.key, row.key);
        EXPECT_EQ(key.character, row.character);
        EXPECT_EQ(key.modifiers, kavo_ui::Modifiers{});
    }
}

TEST(AutomationEvents, EveryKindWithItsFields)
{
    json events = json::array({
        {{"type", "key"}, {"key", "c"}, {"primary", true}, {"shift", true}, {"alt", true}},
        {{"type", "text"}, {"text", "Grüße"}},
        {{"type", "pointer"}, {"action", "down"}, {"x", 10.5}, {"y", 20}, {"button", "secondary"}, {"shift", true}},
        {{"type", "pointer"}, {"action", "up"}, {"x", 1}, {"y", 2}},
        {{"type", "pointer"}, {"action", "move"}, {"x", -3}, {"y", 4}},
        {{"type", "pointer"}, {"action", "down"}, {"x", 0}, {"y", 0}, {"button", "middle"}, {"primary", true}},
        {{"type", "wheel"}, {"x", 5}, {"y", 6}, {"dy", -120}, {"primary", true}},
    });
    auto parsed = automation::parse_events(events);
    ASSERT_TRUE(parsed.has_value()) << parsed.error();
    ASSERT_EQ(parsed->size(), 7u);

    auto key = std::get<KeyEvent>((*parsed)[0]);
    EXPECT_EQ(key.key, Key::Character);
    EXPECT_EQ(key.character, U'c');
    EXPECT_EQ(key.modifiers, (kavo_ui::Modifiers{true, true, true}));

    EXPECT_EQ(std::get<TextEvent>((*parsed)[1]).text, "Grüße");

    auto down = std::get<PointerEvent>((*parsed)[2]);
    EXPECT_EQ(down.action, PointerAction::Down);
    EXPECT_EQ(down.position, (kavo_ui::Point{10.5f, 20}));
    EXPECT_EQ(down.button, PointerButton::Secondary);
    EXPECT_EQ(down.modifiers, (kavo_ui::Modifiers{false, true, false}));
    EXPECT_EQ(down.click_count, 1);

    auto up = std::get<PointerEvent>((*parsed)[3]);
    EXPECT_EQ(up.action, PointerAction::Up);
    EXPECT_EQ(up.button, PointerButton::Primary) << "a release without a button is the primary one";

    auto move = std::get<PointerEvent>((*parsed)[4]);
    EXPECT_EQ(move.action, PointerAction::Move);
    EXPECT_EQ(move.button, PointerButton::None);
    EXPECT_EQ(move.position, (kavo_ui::Point{-3, 4}));

    auto middle = std::get<PointerEvent>((*parsed)[5]);
    EXPECT_EQ(middle.button, PointerButton::Middle);
    EXPECT_TRUE(middle.modifiers.primary);

    auto wheel = std::get<WheelEvent>((*parsed)[6]);
    EXPECT_EQ(wheel.position, (kavo_ui::Point{5, 6}));
    EXPECT_EQ(wheel.dy, -120);
    EXPECT_TRUE(wheel.modifiers.primary);
}

TEST(AutomationEvents, BadEventsNameWhatIsWrong)
{
    struct Row {
        const char* name;
        json events;
        const char* expected_error;
    };
    const json good = {{"type", "key"}, {"key", "Enter"}};
    const Row rows[] = {
        {"not an array", {{"type", "key"}}, "\"events\" must be an array"},
        {"event not an object", json::array({good, 5}), "events[1]: an event must be an object"},
        {"missing type", json::array({{{"key", "a"}}}), "events[0]: missing \"type\""},
        {"unknown type", json::array({{{"type", "touch"}}}), "events[0]: unknown event type \"touch\""},
        {"unknown key", json::array({good, good, {{"type", "key"}, {"key", "Enterr"}}}), "events[2]: unknown key \"Enterr\""},
        {"two characters", json::array({{{"type", "key"}, {"key", "ab"}}}), "unknown key \"ab\""},
        {"empty key", json::array({{{"type", "key"}, {"key", ""}}}), "unknown key \"\""},
        {"control character", json::array({{{"type", "key"}, {"key", "\n"}}}), "control character"},
        {"key not a string", json::array({{{"type", "key"}, {"key", 13}}}), "\"key\" must be a string"},
        {"modifier not a boolean", json::array({{{"type", "key"}, {"key", "a"}, {"shift", 1}}}), "\"shift\" must be true or false"},
        {"text missing", json::array({{{"type", "text"}}}), "missing \"text\""},
        {"pointer action unknown", json::array({{{"type", "pointer"}, {"action", "click"}, {"x", 1}, {"y", 1}}}), "unknown pointer action \"click\""},
        {"pointer without y", json::array({{{"type", "pointer"}, {"action", "move"}, {"x", 1}}}), "missing \"y\""},
        {"pointer x as text", json::array({{{"type", "pointer"}, {"action", "move"}, {"x", "1"}, {"y", 1}}}), "\"x\" must be a number"},
        {"pointer far away", json::array({{{"type", "pointer"}, {"action", "move"}, {"x", 1e9}, {"y", 1}}}), "\"x\" must be a number"},
        {"pointer button unknown", json::array({{{"type", "pointer"}, {"action", "down"}, {"x", 1}, {"y", 1}, {"button", "left"}}}), "unknown button \"left\""},
        {"wheel without dy", json::array({{{"type", "wheel"}, {"x", 1}, {"y", 1}}}), "missing \"dy\""},
        {"wheel primary not a boolean", json::array({{{"type", "wheel"}, {"x", 1}, {"y", 1}, {"dy", 1}, {"primary", "yes"}}}), "\"primary\" must be true or false"},
        {"long unknown name is cut", json::array({{{"type", "key"}, {"key", std::string(5000, 'x')}}}), "…\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto parsed = automation::parse_events(row.events);
        ASSERT_FALSE(parsed.has_value());
        EXPECT_NE(parsed.error().find(row.expected_error), std::string::npos) << parsed.error();
        EXPECT_LT(parsed.error().size(), 200u);
    }
}

// ---------------------------------------------------------------------------------------------
// dispatch

TEST(AutomationDispatch, OpsReachTheHost)
{
    FakeHost host;
    host.snapshot_value = {{"path", "/home"}};
    struct Row {
        const char* name;
        json request;
        json expected_result;
    };
    const Row rows[] = {
        {"ping", {{"op", "ping"}}, {{"app", "so.kavo.test"}, {"pid", ::getpid()}}},
        {"snapshot", {{"op", "snapshot"}}, {{"path", "/home"}}},
        {"a11y", {{"op", "a11y"}}, {{"role", "window"}, {"name", "Test"}}},
        {"resources", {{"op", "resources"}}, json::array({{{"type", "folder"}, {"id", "/tmp"}}})},
        {"invoke", {{"op", "invoke"}, {"action", "open"}, {"class", 2}}, {{"done", "open"}}},
        {"frame", {{"op", "frame"}}, {{"frame", 1}}},
        {"resize", {{"op", "resize"}, {"width", 800}, {"height", 600.5}}, {{"frame", 2}}},
        {"input", {{"op", "input"}, {"events", json::array()}}, {{"frame", 3}}},
        {"screenshot", {{"op", "screenshot"}, {"path", "/tmp/shot.png"}}, "/tmp/shot.png"},
        {"search default limit", {{"op", "search"}, {"query", "report"}}, {{"query", "report"}, {"limit", 20}}},
        {"search limit", {{"op", "search"}, {"query", ""}, {"limit", 500}}, {{"query", ""}, {"limit", 500}}},
        {"quit", {{"op", "quit"}}, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        json reply = automation::dispatch(row.request, host);
        EXPECT_EQ(reply, (json{{"id", nullptr}, {"ok", true}, {"result", row.expected_result}})) << reply.dump();
    }
    ASSERT_EQ(host.invokes.size(), 1u);
    EXPECT_EQ(host.invokes[0].effect_class, 2);
    EXPECT_EQ(host.invokes[0].args, json::object());
    EXPECT_EQ(host.sizes, (std::vector<kavo_ui::Size>{{800, 600.5f}}));
    EXPECT_TRUE(host.quit_called);
}

TEST(AutomationDispatch, InvokeCarriesPayloadAndArgs)
{
    FakeHost host;
    json reply = automation::dispatch({{"id", 9},
                                       {"op", "invoke"},
                                       {"action", "rename"},
                                       {"class", 1},
                                       {"payload", {{"path", "/a"}}},
                                       {"args", {{"name", "b"}}}},
                                      host);
    EXPECT_EQ(reply["ok"], true);
    ASSERT_EQ(host.invokes.size(), 1u);
    EXPECT_EQ(host.invokes[0].action, "rename");
    EXPECT_EQ(host.invokes[0].payload, (json{{"path", "/a"}}));
    EXPECT_EQ(host.invokes[0].args, (json{{"name", "b"}}));
}

TEST(AutomationDispatch, EchoesAnyId)
{
    FakeHost host;
    for (const json& id : {json(1), json("abc"), json::array({1, 2}), json{{"k", "v"}}, json(nullptr), json(-2.5)}) {
        SCOPED_TRACE(id.dump());
        EXPECT_EQ(automation::dispatch({{"id", id}, {"op", "ping"}}, host)["id"], id);
        EXPECT_EQ(automation::dispatch({{"id", id}, {"op", "nope"}}, host)["id"], id);
    }
}

TEST(AutomationDispatch, BadRequestsGiveErrorReplies)
{
    FakeHost host;
    struct Row {
        const char* name;
        json request;
        const char* expected_error;
    };
    const Row rows[] = {
        {"not an object", json::array({"ping"}), "must be a JSON object"},
        {"missing op", {{"id", 1}}, "missing \"op\""},
        {"op not a string", {{"op", 3}}, "\"op\" must be a string"},
        {"unknown op", {{"op", "launch"}}, "unknown op \"launch\""},
        {"invoke without action", {{"op", "invoke"}}, "missing parameter \"action\""},
        {"invoke with empty action", {{"op", "invoke"}, {"action", ""}}, "must not be empty"},
        {"invoke class not a number", {{"op", "invoke"}, {"action", "a"}, {"class", "modify"}}, "\"class\" must be a number from 0 to 255"},
        {"invoke class too large", {{"op", "invoke"}, {"action", "a"}, {"class", 256}}, "\"class\" must be a number from 0 to 255"},
        {"invoke args not an object", {{"op", "invoke"}, {"action", "a"}, {"args", json::array()}}, "\"args\" must be an object"},
        {"invoke fails", {{"op", "invoke"}, {"action", "fail"}}, "the action failed"},
        {"host throws", {{"op", "invoke"}, {"action", "throw"}}, "internal error: host blew up"},
        {"input without events", {{"op", "input"}}, "missing parameter \"events\""},
        {"input with a bad event", {{"op", "input"}, {"events", json::array({{{"type", "key"}}})}}, "events[0]: missing \"key\""},
        {"resize without height", {{"op", "resize"}, {"width", 100}}, "missing parameter \"height\""},
        {"resize to zero", {{"op", "resize"}, {"width", 0}, {"height", 100}}, "\"width\" must be a number from 1 to 16384"},
        {"resize too large", {{"op", "resize"}, {"width", 100}, {"height", 16385}}, "\"height\" must be a number"},
        {"resize as text", {{"op", "resize"}, {"width", "100"}, {"height", 100}}, "\"width\" must be a number"},
        {"screenshot without path", {{"op", "screenshot"}}, "missing parameter \"path\""},
        {"screenshot fails", {{"op", "screenshot"}, {"path", "/x/denied.png"}}, "cannot write denied.png"},
        {"search without query", {{"op", "search"}}, "missing parameter \"query\""},
        {"search limit zero", {{"op", "search"}, {"query", "a"}, {"limit", 0}}, "\"limit\" must be a whole number from 1 to 500"},
        {"search limit too large", {{"op", "search"}, {"query", "a"}, {"limit", 501}}, "\"limit\""},
        {"search limit fractional", {{"op", "search"}, {"query", "a"}, {"limit", 2.5}}, "\"limit\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        json reply = automation::dispatch(row.request, host);
        EXPECT_EQ(reply["ok"], false) << reply.dump();
        ASSERT_TRUE(reply["error"].is_string()) << reply.dump();
        EXPECT_NE(reply["error"].get<std::string>().find(row.expected_error), std::string::npos) << reply.dump();
        EXPECT_FALSE(reply.contains("result"));
    }
    EXPECT_TRUE(host.inputs.empty());
    EXPECT_TRUE(host.sizes.empty());
}

// ---------------------------------------------------------------------------------------------
// Server over a real socket

class AutomationServer : public ::testing::Test {
protected:
    fs::path socket_path() const { return m_dir / "run" / "so.kavo.test.sock"; }

    std::unique_ptr<automation::Server> start_server()
    {
        auto server = automation::Server::start(socket_path());
        EXPECT_TRUE(server.has_value()) << server.error();
        return server ? std::move(*server) : nullptr;
    }

    void start_loop() { m_loop.emplace(start_server(), m_host); }

    TempDir m_dir;
    FakeHost m_host;
    std::optional<HostLoop> m_loop;
};

TEST_F(AutomationServer, PingFrameAndInputRoundTrip)
{
    start_loop();
    Client client(socket_path());
    ASSERT_TRUE(client.connected());

    json ping = client.request({{"id", 1}, {"op", "ping"}});
    EXPECT_EQ(ping, (json{{"id", 1}, {"ok", true}, {"result", {{"app", "so.kavo.test"}, {"pid", ::getpid()}}}}));
    EXPECT_EQ(client.request({{"id", "f"}, {"op", "frame"}}), (json{{"id", "f"}, {"ok", true}, {"result", {{"frame", 1}}}}));

    json input = client.request({{"id", 3},
                                 {"op", "input"},
                                 {"events", json::array({{{"type", "key"}, {"key", "Down"}, {"shift", true}},
                                                         {{"type", "text"}, {"text", "ä"}}})}});
    EXPECT_EQ(input, (json{{"id", 3}, {"ok", true}, {"result", {{"frame", 2}}}}));
    std::lock_guard lock(m_host.mutex);
    ASSERT_EQ(m_host.inputs.size(), 1u);
    ASSERT_EQ(m_host.inputs[0].size(), 2u);
    auto key = std::get<KeyEvent>(m_host.inputs[0][0]);
    EXPECT_EQ(key.key, Key::Down);
    EXPECT_TRUE(key.modifiers.shift);
    EXPECT_EQ(std::get<TextEvent>(m_host.inputs[0][1]).text, "ä");
}

TEST_F(AutomationServer, PipelinedRequestsAreAnsweredInOrder)
{
    start_loop();
    Client client(socket_path());
    std::string lines;
    for (int i = 0; i < 50; ++i)
        lines += json{{"id", i}, {"op", i % 7 == 3 ? "bogus" : "frame"}}.dump() + "\n";
    lines += "{\"id\": 50, \"op\": \"ping\"}";  // the last request may lack its newline
    ASSERT_TRUE(client.send_raw(lines));
    client.finish_sending();
    for (int i = 0; i <= 50; ++i) {
        auto reply = client.read_reply();
        ASSERT_TRUE(reply.has_value()) << "reply " << i;
        EXPECT_EQ((*reply)["id"], i);
    }
}

TEST_F(AutomationServer, BadLinesGetAnErrorAndTheConnectionStaysUsable)
{
    start_loop();
    Client client(socket_path());
    struct Row {
        const char* name;
        std::string line;
        const char* expected_error;
    };
    const Row rows[] = {
        {"not JSON", "{\"op\": ping}", "invalid JSON"},
        {"truncated", "{\"op\":", "invalid JSON"},
        {"invalid UTF-8", "{\"op\": \"p\xff\"}", "invalid JSON"},
        {"array", "[1, 2]", "must be a JSON object"},
        {"number", "42", "must be a JSON object"},
        {"nested deeply", std::string(5000, '[') + std::string(5000, ']'), "nested deeper"},
        {"deep inside an object", "{\"op\":\"ping\",\"x\":" + std::string(200, '[') + std::string(200, ']') + "}", "nested deeper"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(client.send_raw(row.line + "\n"));
        auto reply = client.read_reply();
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ((*reply)["ok"], false);
        EXPECT_EQ((*reply)["id"], nullptr);
        EXPECT_NE((*reply)["error"].get<std::string>().find(row.expected_error), std::string::npos) << reply->dump();
        EXPECT_LT(reply->dump().size(), 400u);
        EXPECT_EQ(client.request({{"id", 7}, {"op", "ping"}})["ok"], true);
    }
    // Blank lines are skipped rather than answered.
    ASSERT_TRUE(client.send_raw("\n  \r\n"));
    EXPECT_EQ(client.request({{"id", 8}, {"op", "ping"}})["id"], 8);
}

TEST_F(AutomationServer, OverlongLineClosesOnlyThatConnection)
{
    start_loop();
    Client other(socket_path());
    ASSERT_TRUE(other.connected());

    // A line of exactly the limit is still a request.
    Client exact(socket_path());
    std::string padding(automation::k_max_line_bytes - std::string("{\"op\":\"ping\",\"p\":\"\"}").size(), 'x');
    std::string line = "{\"op\":\"ping\",\"p\":\"" + padding + "\"}";
    ASSERT_EQ(line.size(), automation::k_max_line_bytes);
    ASSERT_TRUE(exact.send_raw(line + "\n"));
    auto exact_reply = exact.read_reply();
    ASSERT_TRUE(exact_reply.has_value());
    EXPECT_EQ((*exact_reply)["ok"], true);

    Client flooder(socket_path());
    std::thread writer([&] { flooder.send_raw(std::string(automation::k_max_line_bytes + 4096, 'x') + "\n{}\n"); });
    auto reply = flooder.read_reply();
    writer.join();
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ((*reply)["ok"], false);
    EXPECT_NE((*reply)["error"].get<std::string>().find("longer than 1 MiB"), std::string::npos);
    EXPECT_TRUE(flooder.closed_by_server());

    EXPECT_EQ(other.request({{"id", 2}, {"op", "ping"}})["ok"], true);
    Client later(socket_path());
    EXPECT_EQ(later.request({{"id", 3}, {"op", "ping"}})["ok"], true);
}

TEST_F(AutomationServer, FolderAndSocketArePrivate)
{
    mode_t old_umask = ::umask(0);  // the modes must not depend on the umask
    auto server = start_server();
    ::umask(old_umask);
    ASSERT_TRUE(server);
    struct stat folder{}, socket{};
    ASSERT_EQ(::stat(socket_path().parent_path().c_str(), &folder), 0);
    ASSERT_EQ(::lstat(socket_path().c_str(), &socket), 0);
    EXPECT_EQ(folder.st_mode & 07777, 0700u);
    EXPECT_TRUE(S_ISSOCK(socket.st_mode));
    EXPECT_EQ(socket.st_mode & 07777, 0600u);
}

TEST_F(AutomationServer, RefusesUnsafeFoldersAndForeignFiles)
{
    fs::create_directory(m_dir / "open");
    ::chmod((m_dir / "open").c_str(), 0777);
    fs::create_directory(m_dir / "group");
    ::chmod((m_dir / "group").c_str(), 0770);
    fs::create_directory(m_dir / "theirs");
    ASSERT_EQ(::chown((m_dir / "theirs").c_str(), 65534, 65534), 0);
    fs::create_directory(m_dir / "plain");
    { std::FILE* f = std::fopen((m_dir / "plain" / "a.sock").c_str(), "w"); std::fclose(f); }

    struct Row {
        const char* name;
        fs::path path;
        const char* expected_error;
    };
    const Row rows[] = {
        {"world-writable folder", m_dir / "open" / "a.sock", "may be written by other users"},
        {"group-writable folder", m_dir / "group" / "a.sock", "may be written by other users"},
        {"folder of another user", m_dir / "theirs" / "a.sock", "belongs to another user"},
        {"a regular file at the path", m_dir / "plain" / "a.sock", "is not a socket"},
        {"missing grandparent", m_dir / "no" / "such" / "a.sock", "No such file"},
        {"path too long", m_dir / std::string(120, 'n') / "a.sock", "too long"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto server = automation::Server::start(row.path);
        ASSERT_FALSE(server.has_value());
        EXPECT_NE(server.error().find(row.expected_error), std::string::npos) << server.error();
    }
    EXPECT_TRUE(fs::is_regular_file(m_dir / "plain" / "a.sock")) << "a file that is not a socket is never removed";
}

TEST_F(AutomationServer, ReplacesAStaleSocketButNotALiveOne)
{
    {
        auto first = start_server();
        ASSERT_TRUE(first);
        auto second = automation::Server::start(socket_path());
        ASSERT_FALSE(second.has_value());
        EXPECT_NE(second.error().find("another process is listening"), std::string::npos) << second.error();
        Client still_first(socket_path());
        EXPECT_TRUE(still_first.connected());
    }
    leave_stale_socket(socket_path());
    ASSERT_TRUE(fs::exists(socket_path()));

    start_loop();
    Client client(socket_path());
    EXPECT_EQ(client.request({{"id", 1}, {"op", "ping"}})["ok"], true);
}

// Runs in a forked child that has become uid/gid 65534; returns its exit status.
int connect_as_nobody(const fs::path& path)
{
    pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(10);
        int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            ::_exit(11);
        const char request[] = "{\"id\":1,\"op\":\"ping\"}\n";
        ::send(fd, request, sizeof request - 1, MSG_NOSIGNAL);
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0)
            ::_exit(12);  // neither answered nor disconnected
        char buffer[256];
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        ::_exit(n > 0 ? 13 : 0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(AutomationServer, PeerOfAnotherUserGetsNoAnswer)
{
    start_loop();
    // Open the file modes so that the other user reaches the socket at all; what turns it away
    // must then be the peer check.
    ASSERT_EQ(::chmod(m_dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(socket_path().parent_path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(socket_path().c_str(), 0666), 0);

    EXPECT_EQ(connect_as_nobody(socket_path()), 0) << "10: cannot drop privileges, 11: cannot connect, "
                                                      "12: left hanging, 13: got an answer";
    Client owner(socket_path());
    EXPECT_EQ(owner.request({{"id", 1}, {"op", "ping"}})["ok"], true);
}

TEST_F(AutomationServer, QuitReplyArrivesBeforeTheHostStops)
{
    start_loop();
    Client client(socket_path());
    EXPECT_EQ(client.request({{"id", 1}, {"op", "quit"}}), (json{{"id", 1}, {"ok", true}, {"result", nullptr}}));
    EXPECT_TRUE(m_loop->wait_until_ended());
    EXPECT_TRUE(m_host.has_quit());
    EXPECT_TRUE(client.closed_by_server());
    EXPECT_FALSE(fs::exists(socket_path()));
}

TEST_F(AutomationServer, NothingReachesTheHostAfterQuit)
{
    WakeCounter wakes;
    auto server = start_server();
    Client quitter(socket_path());
    Client late(socket_path());
    ASSERT_TRUE(quitter.send_line({{"id", 1}, {"op", "quit"}}));
    ASSERT_TRUE(wakes.wait_for(1));
    ASSERT_TRUE(late.send_line({{"id", 2}, {"op", "input"}, {"events", json::array()}}));
    ASSERT_TRUE(wakes.wait_for(2));

    ASSERT_TRUE(server->has_pending());
    server->process_pending(m_host);
    EXPECT_FALSE(server->has_pending());
    EXPECT_EQ(quitter.read_reply(), (json{{"id", 1}, {"ok", true}, {"result", nullptr}}));
    auto refused = late.read_reply();
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ((*refused)["id"], 2);
    EXPECT_EQ((*refused)["ok"], false);
    EXPECT_EQ(m_host.input_count(), 0u);
}

TEST_F(AutomationServer, DestructorIsPromptAndAnswersWhatWasLeft)
{
    WakeCounter wakes;
    auto server = start_server();
    Client idle(socket_path());
    Client waiting(socket_path());
    ASSERT_TRUE(idle.connected());
    ASSERT_TRUE(waiting.send_line({{"id", 5}, {"op", "frame"}}));
    ASSERT_TRUE(wakes.wait_for(1));

    auto before = std::chrono::steady_clock::now();
    server.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);

    EXPECT_FALSE(fs::exists(socket_path()));
    auto reply = waiting.read_reply();
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ((*reply)["id"], 5);
    EXPECT_EQ((*reply)["ok"], false);
    EXPECT_TRUE(idle.closed_by_server());
    EXPECT_EQ(m_host.frames, 0u);
}

TEST_F(AutomationServer, DestructorDoesNotWaitForAClientThatStopsReading)
{
    m_host.snapshot_value = std::string(16 << 20, 'x');  // far more than the socket buffers hold
    start_loop();
    Client sluggish(socket_path());
    ASSERT_TRUE(sluggish.send_line({{"id", 1}, {"op", "snapshot"}}));
    // Give the reply time to fill the socket buffers, then stop the host while nobody reads.
    Client probe(socket_path());
    EXPECT_EQ(probe.request({{"id", 2}, {"op", "ping"}})["ok"], true);

    auto before = std::chrono::steady_clock::now();
    m_loop->stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
}

TEST_F(AutomationServer, ClientThatHangsUpEarlyStillHasItsRequestHandled)
{
    start_loop();
    {
        Client gone(socket_path());
        ASSERT_TRUE(gone.send_line({{"id", 1}, {"op", "input"}, {"events", json::array({{{"type", "text"}, {"text", "x"}}})}}));
    }
    // The reply to the vanished client must not take the process down (no SIGPIPE), and the
    // server keeps serving.
    EXPECT_TRUE(m_host.wait_for_inputs(1));
    Client next(socket_path());
    EXPECT_EQ(next.request({{"id", 2}, {"op", "ping"}})["ok"], true);
}

}
}
