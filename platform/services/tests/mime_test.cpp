#include "kavo_services/mime.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Query {
    std::string extension;
    std::string expected;
};

// The glob database is read once per process, so every scenario asks in a fresh child that sees
// only the data directories the scenario set up.
class MimeDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = (tmp && *tmp ? std::string(tmp) : std::string("/tmp")) + "/mime-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
    }
    void TearDown() override { fs::remove_all(m_root); }

    // Writes <root>/<name>/mime/globs2 and returns <root>/<name>.
    fs::path data_dir(const std::string& name, const std::string& globs2)
    {
        fs::path dir = m_root / name;
        fs::create_directories(dir / "mime");
        std::ofstream(dir / "mime" / "globs2") << globs2;
        return dir;
    }

    // Answers for the extensions, asked in a child process with the given environment.
    static std::vector<std::string> ask(const fs::path& data_home, const std::optional<std::string>& data_dirs,
                                        const std::vector<Query>& queries)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return {};
        pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            ::setenv("XDG_DATA_HOME", data_home.c_str(), 1);
            if (data_dirs)
                ::setenv("XDG_DATA_DIRS", data_dirs->c_str(), 1);
            else
                ::unsetenv("XDG_DATA_DIRS");
            std::string out;
            for (const auto& q : queries)
                out += kavo_services::mime_type_for_extension(q.extension) + "\n";
            ssize_t written = ::write(fds[1], out.data(), out.size());
            ::_exit(written == static_cast<ssize_t>(out.size()) ? 0 : 1);
        }
        ::close(fds[1]);
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<size_t>(n));
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        std::vector<std::string> answers;
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            answers.push_back(text.substr(start, end - start));
        return answers;
    }

    static void expect_answers(const std::vector<Query>& queries, const std::vector<std::string>& answers)
    {
        ASSERT_EQ(answers.size(), queries.size());
        for (size_t i = 0; i < queries.size(); ++i)
            EXPECT_EQ(answers[i], queries[i].expected) << "extension \"" << queries[i].extension << "\"";
    }

    fs::path m_root;
};

TEST_F(MimeDatabase, InstalledDatabaseAnswersCommonExtensions)
{
    // An empty user directory and the default system directories.
    fs::path home = data_dir("home", "");
    std::vector<Query> queries = {
        {"gz", "application/gzip"},
        {"txt", "text/plain"},
        {"TXT", "text/plain"},
        {"png", "image/png"},
        {"c", "text/x-csrc"},
        {"C", "text/x-c++src"},
        {"tar.gz", "application/x-compressed-tar"},
        {"", "application/octet-stream"},
        {"no-such-extension", "application/octet-stream"},
    };
    expect_answers(queries, ask(home, std::nullopt, queries));
}

struct Scenario {
    const char* name;
    const char* home_globs;
    std::vector<const char*> dirs_globs;  // one XDG_DATA_DIRS entry each, in order
    std::vector<Query> queries;
};

TEST_F(MimeDatabase, ChoosesByWeightCaseAndDirectoryOrder)
{
    const Scenario scenarios[] = {
        {"higher weight wins over listing order", "40:low/type:*.foo\n60:high/type:*.foo\n", {},
         {{"foo", "high/type"}}},
        {"equal weight keeps the first listed", "50:first/type:*.bar\n50:second/type:*.bar\n", {},
         {{"bar", "first/type"}}},
        {"case folds unless the glob is case-sensitive", "50:text/plain:*.txt\n50:cs/type:*.Abc:cs\n", {},
         {{"TXT", "text/plain"}, {"Txt", "text/plain"}, {"Abc", "cs/type"}, {"abc", "application/octet-stream"}}},
        {"exact case beats the unflagged copy of a case-sensitive glob",
         "50:text/x-c++src:*.C:cs\n50:text/x-c++src:*.C\n50:text/x-csrc:*.c:cs\n50:text/x-csrc:*.c\n", {},
         {{"c", "text/x-csrc"}, {"C", "text/x-c++src"}}},
        {"other globs and malformed lines take no part",
         "50:a/one:*.so.[0-9]*\n50:a/two:*.x?z\n50:a/three:Makefile\n50:a/four:*.\n"
         "x:bad/weight:*.w\n50::*.notype\n50:no-slash:*.ns\n50:a/short\n# 50:a/comment:*.cm\n50:a/five:*.ok:\n",
         {},
         {{"x?z", "application/octet-stream"}, {"so.[0-9]*", "application/octet-stream"},
          {"w", "application/octet-stream"}, {"notype", "application/octet-stream"},
          {"ns", "application/octet-stream"}, {"cm", "application/octet-stream"}, {"ok", "a/five"}}},
        {"the user directory comes before the system directories", "50:user/type:*.zz\n",
         {"50:system/type:*.zz\n50:system/only:*.yy\n"}, {{"zz", "user/type"}, {"yy", "system/only"}}},
        {"earlier data directories come first at equal weight", "",
         {"50:first/dir:*.qq\n", "50:second/dir:*.qq\n80:second/heavy:*.ww\n"},
         {{"qq", "first/dir"}, {"ww", "second/heavy"}}},
        {"weight decides before the directory", "50:user/light:*.hh\n", {"80:system/heavy:*.hh\n"},
         {{"hh", "system/heavy"}}},
        {"__NOGLOBS__ drops the type's globs from less important directories",
         "50:app/x-thing:__NOGLOBS__\n50:app/x-thing:*.new\n",
         {"50:app/x-thing:*.th\n50:app/other:*.th\n50:app/x-thing:*.old\n"},
         {{"th", "app/other"}, {"new", "app/x-thing"}, {"old", "application/octet-stream"}}},
    };
    int row = 0;
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.name);
        std::string prefix = "row" + std::to_string(row++);
        fs::path home = data_dir(prefix + "-home", s.home_globs);
        std::string dirs;
        for (size_t i = 0; i < s.dirs_globs.size(); ++i)
            dirs += (i ? ":" : "") + data_dir(prefix + "-dir" + std::to_string(i), s.dirs_globs[i]).string();
        // A relative entry is ignored rather than resolved against the working directory.
        dirs += ":relative/share";
        expect_answers(s.queries, ask(home, dirs, s.queries));
    }
}

}
