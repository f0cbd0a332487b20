#include "kavo_ui/user_dirs.hpp"

#include <gtest/gtest.h>

using kavo_ui::UserDirKind;
using kavo_ui::UserDirs;

TEST(UserDirs, ParsesTheFileAsTheConventionWritesIt)
{
    constexpr std::string_view text = R"(# This file is written by xdg-user-dirs-update
XDG_DESKTOP_DIR="$HOME/"
XDG_DOCUMENTS_DIR="$HOME/Dokumente"
XDG_DOWNLOAD_DIR="/data/down loads"
XDG_MUSIC_DIR="relative/music"
XDG_PICTURES_DIR="$HOME/My \"Pics\""
XDG_VIDEOS_DIR=$HOME/Videos
  XDG_TEMPLATES_DIR="$HOME/Vorlagen"
XDG_PUBLICSHARE_DIR="$HOMEPUBLIC"
)";
    auto dirs = UserDirs::parse(text, "/home/u");
    EXPECT_EQ(dirs.dir(UserDirKind::Desktop), std::nullopt) << "a folder set to home is unused";
    EXPECT_EQ(dirs.dir(UserDirKind::Documents), std::filesystem::path("/home/u/Dokumente"));
    EXPECT_EQ(dirs.dir(UserDirKind::Downloads), std::filesystem::path("/data/down loads"));
    EXPECT_EQ(dirs.dir(UserDirKind::Music), std::nullopt) << "relative paths are invalid";
    EXPECT_EQ(dirs.dir(UserDirKind::Pictures), std::filesystem::path("/home/u/My \"Pics\""));
    EXPECT_EQ(dirs.dir(UserDirKind::Videos), std::nullopt) << "values must be quoted";
    EXPECT_EQ(dirs.dir(UserDirKind::Templates), std::filesystem::path("/home/u/Vorlagen"));
    EXPECT_EQ(dirs.dir(UserDirKind::PublicShare), std::nullopt) << "$HOME must be a whole component";

    auto places = dirs.content_places();
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0].kind, UserDirKind::Documents);
    EXPECT_EQ(places[0].label, "Dokumente");
    EXPECT_EQ(places[1].kind, UserDirKind::Downloads);
    EXPECT_EQ(places[2].kind, UserDirKind::Pictures);

    EXPECT_EQ(dirs.classify("/home/u"), UserDirKind::Home);
    EXPECT_EQ(dirs.classify("/home/u/"), UserDirKind::Home);
    EXPECT_EQ(dirs.classify("/home/u/Dokumente/"), UserDirKind::Documents);
    EXPECT_EQ(dirs.classify("/home/u/Other"), std::nullopt);
}

TEST(UserDirs, WithoutAFileTheUsualFoldersBelowHomeApply)
{
    auto dirs = UserDirs::parse(std::nullopt, "/home/u");
    auto places = dirs.content_places();
    ASSERT_EQ(places.size(), 5u);
    EXPECT_EQ(places[0].path, "/home/u/Documents");
    EXPECT_EQ(places[4].path, "/home/u/Videos");
    EXPECT_EQ(places[4].label, "Videos");
}
