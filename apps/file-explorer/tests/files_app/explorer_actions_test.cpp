#include "files_app/file_explorer_widget.hpp"
#include "files_app/resource_identity.hpp"
#include "kavo_testing/temp_tree.hpp"

#include <gtest/gtest.h>

using files::app::FileExplorerWidget;
using kavo_testing::TempTree;
using Json = nlohmann::ordered_json;

namespace {

class ExplorerActions : public ::testing::Test {
protected:
    ExplorerActions()
    {
        tree.folder("sub");
        tree.file("a.txt");
        tree.file(".secret");
        explorer = FileExplorerWidget::create(std::nullopt, tree.path());
    }
    std::expected<Json, std::string> invoke(std::string action, Json payload, std::optional<int> effect = 2, Json args = Json::object())
    {
        return explorer->invoke(kavo_ui::ActionInvocation{std::move(action), effect, std::move(payload), std::move(args)});
    }
    std::string identity(const std::string& name)
    {
        for (const auto& e : explorer->entries())
            if (e.name == name)
                return files::app::entry_identity(e);
        return {};
    }
    const Json* action(const Json& resources, std::string_view type, std::string_view operation)
    {
        for (const auto& r : resources)
            if (r["type"] == type)
                for (const auto& a : r["actions"])
                    if (a["operation"] == operation)
                        return &a;
        return nullptr;
    }
    TempTree tree;
    std::unique_ptr<FileExplorerWidget> explorer;
};

}

TEST(ResourceIdentity, DependsOnThePathBytesOnly)
{
    // SHA-256 of "kavo.files.local-resource.v1\0" (backslash, zero), the u64 BE length and the
    // path, first 16 bytes — computed independently.
    EXPECT_EQ(files::app::local_resource_id("/home/user"), "08847107f9acde16f8d1461fac9e1849");
    EXPECT_EQ(files::app::folder_identity("/home/user"), "files.folder:08847107f9acde16f8d1461fac9e1849");
    EXPECT_NE(files::app::local_resource_id("/home/user/"), files::app::local_resource_id("/home/user"));
    auto uuid = files::app::parse_uuid("11111111-1111-4111-8111-111111111111");
    ASSERT_TRUE(uuid);
    EXPECT_EQ(files::app::uuid_text(*uuid), "11111111-1111-4111-8111-111111111111");
    EXPECT_FALSE(files::app::parse_uuid("11111111-1111-4111-8111-11111111111"));
    EXPECT_FALSE(files::app::parse_uuid("1111111g-1111-4111-8111-111111111111"));

    files::model::DirectoryEntry e;
    e.path = "/w/doc.txt";
    EXPECT_EQ(files::app::entry_identity(e), "files.entry:" + files::app::local_resource_id("/w/doc.txt"));
    e.record_id = uuid;
    EXPECT_EQ(files::app::entry_identity(e), "files.record:11111111-1111-4111-8111-111111111111")
        << "an entry that gains a record changes its identity";
}

TEST_F(ExplorerActions, DispatchFailuresAreThePlainTexts)
{
    struct Case {
        const char* name;
        std::string action;
        Json payload;
        std::optional<int> effect;
        std::string error;
    } cases[] = {
        {"unknown folder kind", "files.folder-command", "jump", 2, "file command has an invalid operation kind"},
        {"folder kind not a string", "files.folder-command", 3, 2, "file command has an invalid operation kind"},
        {"wrong effect class", "files.folder-command", "up", 1, "file command has an invalid operation kind"},
        {"terminal with the navigation class", "files.folder-command", "terminal", 2, "file command has an invalid operation kind"},
        {"missing class", "files.folder-command", "back", std::nullopt, "file command has an invalid operation kind"},
        {"open of a stale identity", "files.open", "files.entry:0000", 2, "file location is no longer available"},
        {"entry command without a pair", "files.entry-command", Json::array({"copy"}), 2, "missing file resource"},
        {"entry command of a stale entry", "files.entry-command", Json::array({"copy", "files.entry:0"}), 2, "file entry is no longer visible"},
        {"entry command of an unknown kind", "files.entry-command", Json::array({"explode", identity("a.txt")}), 2,
         "file command has an invalid operation kind"},
        {"sharing without a record", "files.entry-command", Json::array({"sharing", identity("a.txt")}), 2,
         "sharing is unavailable for this file"},
        {"an operation not carried out", "files.entry-command", Json::array({"properties", identity("a.txt")}), 2,
         "file operation could not be applied"},
        {"bad record id", "files.reveal-record", "not-a-uuid", 2, "invalid collaborative record id"},
        {"record not indexed", "files.reveal-record", "11111111-1111-4111-8111-111111111111", 2, "collaborative record is not indexed yet"},
        {"paste with an empty clipboard", "files.paste", "paste", 2, "The clipboard is empty"},
        {"remote account without id", "files.remote-account", Json::object(), 2, "missing remote account id"},
        {"remote account without operation", "files.remote-account", Json{{"account", "a"}}, 2, "missing remote account operation"},
        {"gone remote account", "files.remote-account", Json{{"account", "a"}, {"operation", "browse"}}, 2,
         "remote account is no longer available"},
        {"gone nearby device", "files.nearby-send", Json::object(), 2, "nearby device is no longer available"},
        {"gone nearby transfer", "files.nearby-decide", Json::object(), 2, "nearby transfer is no longer available"},
        {"rename without a name", "files.rename", Json::array({identity("a.txt")}), 2, "missing new file name"},
        {"rename of a stale entry", "files.rename", Json::array({"files.entry:0", "b.txt"}), 2, "file entry is no longer visible"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = invoke(c.action, c.payload, c.effect);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error(), c.error);
    }
}

TEST_F(ExplorerActions, FolderCommandsRunThroughTheExecution)
{
    ASSERT_TRUE(invoke("files.folder-command", "sort-size"));
    EXPECT_EQ(explorer->sort_by(), files::model::SortBy::Size);
    ASSERT_TRUE(invoke("files.folder-command", "grid"));
    EXPECT_EQ(explorer->view_mode(), files::model::ViewMode::Grid);
    ASSERT_TRUE(invoke("files.open", identity("sub")));
    EXPECT_EQ(explorer->current_dir(), tree.path("sub"));
    ASSERT_TRUE(invoke("files.folder-command", "back"));
    EXPECT_EQ(explorer->current_dir(), tree.path());
    ASSERT_TRUE(invoke("files.refresh", nullptr, 1));
}

TEST_F(ExplorerActions, AnEntryFilteredOutIsNoLongerVisible)
{
    ASSERT_TRUE(invoke("files.folder-command", "hidden"));
    std::string secret = identity(".secret");
    ASSERT_FALSE(secret.empty());
    ASSERT_TRUE(invoke("files.folder-command", "hidden"));
    auto result = invoke("files.entry-command", Json::array({"copy", secret}));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), "file entry is no longer visible");
}

TEST_F(ExplorerActions, ResourcesPublishContractsAndEntryActions)
{
    Json resources = explorer->resources();
    ASSERT_GE(resources.size(), 3u);
    EXPECT_EQ(resources[0]["type"], "files.folder");
    EXPECT_EQ(resources[0]["id"], files::app::folder_identity(tree.path()));
    const Json* paste = action(resources, "files.folder", "paste");
    ASSERT_TRUE(paste);
    EXPECT_EQ((*paste)["available"], false);
    EXPECT_EQ((*paste)["reason"]["code"], "clipboard_empty");
    EXPECT_EQ((*paste)["reason"]["text"], "Copy or cut files before pasting");
    EXPECT_EQ((*action(resources, "files.folder", "refresh"))["class"], 1);
    EXPECT_EQ((*action(resources, "files.folder", "open-terminal"))["class"], 1);
    EXPECT_EQ((*action(resources, "files.folder", "up"))["class"], 2);
    EXPECT_FALSE(action(resources, "files.folder", "empty-trash")) << "only in the Trash";

    auto first_of = [&](std::string_view type) {
        return std::find_if(resources.begin(), resources.end(), [&](const Json& r) { return r["type"] == type; });
    };
    auto place = first_of("files.place");
    ASSERT_NE(place, resources.end());
    EXPECT_EQ((*place)["actions"][0]["action"], "files.open");
    EXPECT_LT(place - resources.begin(), first_of("files.entry") - resources.begin()) << "places come before entries";
    ASSERT_NE(first_of("files.entry"), resources.end());
    const Json& entry = *first_of("files.entry");
    EXPECT_EQ(entry["label"], "sub");
    std::vector<std::string> operations;
    for (const auto& a : entry["actions"])
        operations.push_back(a["operation"]);
    EXPECT_EQ(operations, (std::vector<std::string>{"open", "rename", "cut", "copy", "send-nearby", "compress", "properties", "trash"}));

    std::filesystem::remove_all(tree.path());
    resources = explorer->resources();
    const Json* refresh = action(resources, "files.folder", "refresh");
    EXPECT_EQ((*refresh)["reason"]["code"], "location_missing");
    EXPECT_EQ((*action(resources, "files.folder", "new-folder"))["reason"]["code"], "location_unavailable");
    auto result = invoke("files.refresh", nullptr, 1);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), "The current folder no longer exists");
}
