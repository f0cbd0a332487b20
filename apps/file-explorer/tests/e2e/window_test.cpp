// Starts the real program offscreen with a private automation socket and drives it the way a
// user's tools would: through kavo-ctl and a raw socket.
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace std::chrono_literals;
using kavo_testing::TempTree;
using json = nlohmann::ordered_json;

namespace {

std::string binary(const char* env, const char* built)
{
    const char* v = std::getenv(env);
    return v && *v ? v : built;
}

struct Output {
    int status = -1;
    std::string out;
};

// Runs a program to its end with extra environment entries, capturing standard output.
Output run(const std::vector<std::string>& argv, const std::vector<std::string>& env_extra)
{
    std::vector<std::string> env_strings(env_extra);
    for (char** e = environ; *e; ++e)
        env_strings.emplace_back(*e);
    std::vector<char*> envp, args;
    for (auto& s : env_strings)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> argv_copy(argv);
    for (auto& s : argv_copy)
        args.push_back(s.data());
    args.push_back(nullptr);
    int fds[2];
    EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    pid_t pid = 0;
    Output result;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0)
        return result;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        result.out.append(buffer, size_t(n));
    ::close(fds[0]);
    ::waitpid(pid, &result.status, 0);
    return result;
}

class RunningWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree.folder("home");
        tree.folder("home/sub");
        tree.file("home/a.txt", "a");
        tree.file("home/b.txt", "bb");
        m_socket = tree.path("ui.sock");
        m_env = {"KAVO_UI_AUTOMATION_SOCKET=" + m_socket.string(), "QT_QPA_PLATFORM=offscreen",
                 "KAVO_HOME=" + tree.path("home").string(),    "XDG_CONFIG_HOME=" + tree.path("config").string(),
                 "XDG_STATE_HOME=" + tree.path("state").string(), "XDG_DATA_HOME=" + tree.path("data").string()};

        std::vector<std::string> env_strings(m_env);
        for (char** e = environ; *e; ++e)
            if (std::string_view(*e).substr(0, 26) != "KAVO_UI_AUTOMATION_SOCKET=")
                env_strings.emplace_back(*e);
        std::vector<char*> envp;
        for (auto& s : env_strings)
            envp.push_back(s.data());
        envp.push_back(nullptr);
        std::string program = binary("FILE_EXPLORER_BIN", FILE_EXPLORER_BUILT_BINARY);
        std::string folder = tree.path("home").string();
        char* argv[] = {program.data(), folder.data(), nullptr};
        ASSERT_EQ(posix_spawn(&m_pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
        auto deadline = std::chrono::steady_clock::now() + 20s;
        while (!std::filesystem::exists(m_socket) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        ASSERT_TRUE(std::filesystem::exists(m_socket)) << "the window never opened its endpoint";
    }

    void TearDown() override
    {
        if (m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    // kavo-ctl OP PARAMS → the printed result.
    json ctl(const std::string& op, const json& params = json::object(), int expected_status = 0)
    {
        std::vector<std::string> argv = {binary("KAVO_CTL_BIN", KAVO_CTL_BUILT_BINARY), "--socket", m_socket.string(), op};
        if (!params.empty())
            argv.push_back(params.dump());
        auto result = run(argv, {});
        EXPECT_TRUE(WIFEXITED(result.status) && WEXITSTATUS(result.status) == expected_status) << op << ": " << result.out;
        return json::parse(result.out, nullptr, false);
    }

    json key(const char* name, bool shift = false)
    {
        return ctl("input", {{"events", {{{"type", "key"}, {"key", name}, {"shift", shift}}}}});
    }

    // Waits for the process to end by itself; its exit status, or -1.
    int wait_exit(std::chrono::seconds limit)
    {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return status;
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }

    TempTree tree;
    std::filesystem::path m_socket;
    std::vector<std::string> m_env;
    pid_t m_pid = -1;
};

int connect_to(const std::filesystem::path& path)
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}

TEST_F(RunningWindow, ShowsNavigatesAndQuitsOnRequest)
{
    EXPECT_EQ(ctl("ping")["app"], "so.kavo.file-explorer");
    auto snapshot = ctl("snapshot");
    EXPECT_EQ(snapshot["directory"], tree.path("home").string());
    EXPECT_EQ(snapshot["entry_count"], 3);
    EXPECT_EQ(snapshot["ready"], true);

    key("Down");
    key("Down", true);
    snapshot = ctl("snapshot");
    EXPECT_EQ(snapshot["selected_names"], json::array({"sub", "a.txt"}));

    key("Home");
    key("Enter");
    EXPECT_EQ(ctl("snapshot")["directory"], tree.path("home/sub").string());
    key("Backspace");
    EXPECT_EQ(ctl("snapshot")["directory"], tree.path("home").string());

    // The context menu from the keyboard: Menu key, Down to "Open", Enter.
    key("Home");
    ctl("input", {{"events", {{{"type", "key"}, {"key", "Menu"}}, {{"type", "key"}, {"key", "Down"}}, {{"type", "key"}, {"key", "Enter"}}}}});
    EXPECT_EQ(ctl("snapshot")["directory"], tree.path("home/sub").string());
    key("Backspace");

    // The platform's route: the same commands through published actions.
    auto folder_command = [&](const char* kind) {
        return ctl("invoke", {{"action", "files.folder-command"}, {"class", 2}, {"payload", kind}});
    };
    folder_command("up");
    EXPECT_EQ(ctl("snapshot")["directory"], tree.path().string());
    folder_command("back");
    EXPECT_EQ(ctl("snapshot")["directory"], tree.path("home").string());
    folder_command("sort-size");
    EXPECT_EQ(ctl("snapshot")["sort_by"], "Size");
    auto resources = ctl("resources");
    EXPECT_EQ(resources[0]["type"], "files.folder");
    ctl("invoke", {{"action", "files.folder-command"}, {"class", 2}, {"payload", "jump"}}, 1);

    auto a11y = ctl("a11y");
    EXPECT_EQ(a11y["role"], "window");

    // Another program's new file shows up through the silent refresh.
    tree.file("home/c.txt");
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (ctl("snapshot")["entry_count"] != 4 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(100ms);
    EXPECT_EQ(ctl("snapshot")["entry_count"], 4);

    ctl("quit");
    EXPECT_EQ(wait_exit(10s), 0);
}

TEST_F(RunningWindow, AnOversizedRequestLineIsRefusedAndTheWindowGoesOn)
{
    int fd = connect_to(m_socket);
    ASSERT_GE(fd, 0);
    std::string line((1 << 20) + 16, 'x');
    line.push_back('\n');
    // The server may close while we still write; what matters is its answer and the close.
    (void)::send(fd, line.data(), line.size(), MSG_NOSIGNAL);
    std::string reply;
    char buffer[4096];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 10000) > 0) {
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        reply.append(buffer, size_t(n));
    }
    ::close(fd);
    auto parsed = json::parse(reply.substr(0, reply.find('\n')), nullptr, false);
    EXPECT_EQ(parsed["ok"], false) << reply;
    EXPECT_EQ(ctl("ping")["app"], "so.kavo.file-explorer");
    ctl("quit");
    EXPECT_EQ(wait_exit(10s), 0);
}

namespace {

std::pair<uint32_t, uint32_t> png_size(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    auto be32 = [&](int at) { return uint32_t(header[at]) << 24 | uint32_t(header[at + 1]) << 16 | uint32_t(header[at + 2]) << 8 | header[at + 3]; };
    return {be32(16), be32(20)};
}

}

TEST(Scenes, RenderWithoutADisplayAndFallBackOnBadSizes)
{
    TempTree tree;
    tree.file("home/x.txt");
    std::vector<std::string> env = {"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY=", "KAVO_HOME=" + tree.path("home").string(),
                                    "XDG_CONFIG_HOME=" + tree.path("config").string(),
                                    "XDG_STATE_HOME=" + tree.path("state").string()};
    std::string program = binary("FILE_EXPLORER_BIN", FILE_EXPLORER_BUILT_BINARY);
    struct Case {
        const char* scene;
        const char* size;
        std::pair<uint32_t, uint32_t> expected;
    } cases[] = {{"grid", "800x600", {800, 600}}, {"error", "800", {1200, 720}}, {"status", "axb", {1200, 720}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scene);
        auto out = tree.path(std::string(c.scene) + ".png");
        auto result = run({program, "--shot", c.scene, "--size", c.size, "--shot-out", out.string()}, env);
        ASSERT_TRUE(WIFEXITED(result.status) && WEXITSTATUS(result.status) == 0) << result.out;
        EXPECT_EQ(result.out, "file-explorer: wrote shot to " + out.string() + "\n");
        EXPECT_EQ(png_size(out), c.expected);
    }
    auto refused = run({program, "--shot", "no-such-scene"}, env);
    EXPECT_TRUE(WIFEXITED(refused.status) && WEXITSTATUS(refused.status) == 1);
    EXPECT_EQ(refused.out, "");
}
