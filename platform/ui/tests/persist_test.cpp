#include "kavo_ui/persist.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace {

class PersistTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() / ("kavo-persist-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_dir);
        setenv("XDG_STATE_HOME", m_dir.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("XDG_STATE_HOME");
        std::filesystem::remove_all(m_dir);
    }
    std::filesystem::path m_dir;
};

}

TEST_F(PersistTest, CreatesARandomActorOnceAndKeepsIt)
{
    auto first = kavo_ui::persist::open("test.app");
    EXPECT_TRUE(first.bookkeeping.created);
    EXPECT_TRUE(first.bookkeeping.stored);
    ASSERT_EQ(first.document.actor.size(), 16u);
    auto again = kavo_ui::persist::open("test.app");
    EXPECT_FALSE(again.bookkeeping.created);
    EXPECT_EQ(again.document.actor, first.document.actor);
    EXPECT_NE(kavo_ui::persist::open("other.app").document.actor, first.document.actor);
}

TEST_F(PersistTest, ACorruptDocumentIsReplaced)
{
    auto file = m_dir / "kavo-ui" / "test.app" / "state.json";
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "{\"actor\": \"not hex\"";
    auto state = kavo_ui::persist::open("test.app");
    EXPECT_TRUE(state.bookkeeping.created);
    EXPECT_EQ(state.document.actor.size(), 16u);
}
