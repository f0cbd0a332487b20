#include "automation_test_support.hpp"

#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

extern char** environ;

namespace automation_test {
namespace {

struct CtlRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

std::string read_all(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs kavo-ctl with the given arguments and environment overrides (nullopt removes a variable).
CtlRun run_ctl(const TempDir& dir, const std::vector<std::string>& args,
            const std::vector<std::pair<std::string, std::optional<std::string>>>& env = {})
{
    const char* binary = std::getenv("KAVO_CTL_BIN");
    if (!binary || !*binary)
        binary = KAVO_CTL_BUILT_BINARY;
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        bool overridden = false;
        for (const auto& [name, value] : env)
            overridden = overridden || entry.starts_with(name + "=");
        if (!overridden)
            environment.push_back(entry);
    }
    for (const auto& [name, value] : env) {
        if (value)
            environment.push_back(name + "=" + *value);
    }
    std::vector<char*> argv{const_cast<char*>(binary)};
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    fs::path out = dir / "ctl.out";
    fs::path err = dir / "ctl.err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, binary, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot run " << binary << ": " << std::strerror(spawned);
        return {};
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    CtlRun run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = read_all(out);
    run.err = read_all(err);
    return run;
}

class KavoCtl : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto server = kavo_ui::automation::Server::start(socket_path());
        ASSERT_TRUE(server.has_value()) << server.error();
        m_loop.emplace(std::move(*server), m_host);
    }

    fs::path socket_path() const { return m_dir / "run" / ("so.kavo.test." + std::to_string(::getpid()) + ".sock"); }

    CtlRun ctl(const std::vector<std::string>& args,
            const std::vector<std::pair<std::string, std::optional<std::string>>>& env = {})
    {
        return run_ctl(m_dir, args, env);
    }

    TempDir m_dir;
    FakeHost m_host;
    std::optional<HostLoop> m_loop;
};

TEST_F(KavoCtl, ExitCodesAndOutput)
{
    const std::string socket = socket_path().string();
    struct Row {
        const char* name;
        std::vector<std::string> args;
        int exit_code;
        std::optional<json> printed;  // the JSON on stdout when the request succeeded
        const char* in_stderr;
    };
    const Row rows[] = {
        {"ping", {"--socket", socket, "ping"}, 0, json{{"app", "so.kavo.test"}, {"pid", ::getpid()}}, ""},
        {"socket=", {"--socket=" + socket, "search", R"({"query": "q", "limit": 3})"}, 0,
         json{{"query", "q"}, {"limit", 3}}, ""},
        {"string result", {"--socket", socket, "screenshot", R"({"path": "/tmp/a.png"})"}, 0, json("/tmp/a.png"), ""},
        {"null result", {"--socket", socket, "snapshot"}, 0, json(nullptr), ""},
        {"error reply", {"--socket", socket, "invoke", R"({"action": "fail"})"}, 1, std::nullopt, "the action failed"},
        {"unknown op", {"--socket", socket, "launch"}, 1, std::nullopt, "unknown op \"launch\""},
        {"bad parameter", {"--socket", socket, "resize", R"({"width": 0, "height": 5})"}, 1, std::nullopt, "\"width\""},
        {"params not JSON", {"--socket", socket, "resize", "{width: 1}"}, 2, std::nullopt, "not valid JSON"},
        {"params not an object", {"--socket", socket, "resize", "[1]"}, 2, std::nullopt, "must be a JSON object"},
        {"params override id", {"--socket", socket, "ping", R"({"id": 4})"}, 2, std::nullopt, "must not set"},
        {"no op", {"--socket", socket}, 2, std::nullopt, "missing OP"},
        {"unknown option", {"--verbose", "ping"}, 2, std::nullopt, "unknown option --verbose"},
        {"too many arguments", {"--socket", socket, "ping", "{}", "x"}, 2, std::nullopt, "too many arguments"},
        {"nobody listening", {"--socket", (m_dir / "none.sock").string(), "ping"}, 2, std::nullopt, "cannot connect"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CtlRun run = ctl(row.args);
        EXPECT_EQ(run.exit_code, row.exit_code) << run.err;
        if (row.printed) {
            EXPECT_EQ(json::parse(run.out, nullptr, false), *row.printed) << run.out;
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find(row.in_stderr), std::string::npos) << run.err;
        }
    }
}

TEST_F(KavoCtl, HelpGoesToStdout)
{
    CtlRun run = ctl({"--help"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_NE(run.out.find("usage: kavo-ctl [--socket PATH] OP [JSON-PARAMS]"), std::string::npos);
}

TEST_F(KavoCtl, InputReachesTheHost)
{
    CtlRun run = ctl({"--socket", socket_path().string(), "input",
                   R"({"events": [{"type": "key", "key": "Escape"}, {"type": "wheel", "x": 1, "y": 2, "dy": 3}]})"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(json::parse(run.out, nullptr, false), (json{{"frame", 1}}));
    std::lock_guard lock(m_host.mutex);
    ASSERT_EQ(m_host.inputs.size(), 1u);
    ASSERT_EQ(m_host.inputs[0].size(), 2u);
    EXPECT_EQ(std::get<kavo_ui::KeyEvent>(m_host.inputs[0][0]).key, kavo_ui::Key::Escape);
    EXPECT_EQ(std::get<kavo_ui::WheelEvent>(m_host.inputs[0][1]).dy, 3);
}

TEST_F(KavoCtl, FindsTheSocketWithoutBeingTold)
{
    // From the environment variable.
    CtlRun by_variable = ctl({"ping"}, {{"KAVO_UI_AUTOMATION_SOCKET", socket_path().string()}});
    EXPECT_EQ(by_variable.exit_code, 0) << by_variable.err;

    // From the runtime folder: the server's folder is named "run", so make a runtime dir whose
    // kavo-ui folder is that one.
    fs::path runtime = m_dir / "xdg";
    fs::create_directory(runtime);
    fs::create_directory_symlink(socket_path().parent_path(), runtime / "kavo-ui");
    std::vector<std::pair<std::string, std::optional<std::string>>> env{
        {"KAVO_UI_AUTOMATION_SOCKET", ""}, {"XDG_RUNTIME_DIR", runtime.string()}};

    // A socket left behind by a dead process does not count.
    pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    leave_stale_socket(socket_path().parent_path() / ("old.app." + std::to_string(dead) + ".sock"));
    CtlRun found = ctl({"ping"}, env);
    EXPECT_EQ(found.exit_code, 0) << found.err;
    EXPECT_EQ(json::parse(found.out, nullptr, false), (json{{"app", "so.kavo.test"}, {"pid", ::getpid()}}));

    // A second live one makes the choice ambiguous.
    auto second = kavo_ui::automation::Server::start(socket_path().parent_path() / ("other.app." + std::to_string(::getppid()) + ".sock"));
    ASSERT_TRUE(second.has_value()) << second.error();
    CtlRun ambiguous = ctl({"ping"}, env);
    EXPECT_EQ(ambiguous.exit_code, 2);
    EXPECT_NE(ambiguous.err.find("--socket"), std::string::npos) << ambiguous.err;
    second->reset();

    CtlRun none = ctl({"ping"}, {{"KAVO_UI_AUTOMATION_SOCKET", std::nullopt}, {"XDG_RUNTIME_DIR", (m_dir / "empty").string()}});
    EXPECT_EQ(none.exit_code, 2);
    EXPECT_NE(none.err.find("no running application"), std::string::npos) << none.err;
}

}
}
