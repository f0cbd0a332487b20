#include "files_app/terminal.hpp"

#include "kavo_services/error.hpp"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace files::app {

std::expected<void, std::string> open_terminal(const std::filesystem::path& folder)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    char program[] = "terminal";
    char* argv[] = {program, nullptr};
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return std::unexpected("could not open terminal: " + kavo_services::Error::from_errno(rc).text);
    // The terminal lives on its own; a waiter reaps it so it never lingers as a zombie.
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return {};
}

}
