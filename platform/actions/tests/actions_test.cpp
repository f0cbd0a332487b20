#include "kavo_actions/actions.hpp"

#include <gtest/gtest.h>

using namespace kavo_actions;

TEST(ActionSpec, PublishesItsContractAndParameters)
{
    auto spec = ActionSpec("new-folder", "New folder", "files.new-folder", Json("New Folder"), 2)
                    .with_param({"value", "Folder name", Json("New Folder")})
                    .with_contract(Contract::unavailable("location_unavailable", "The current location cannot contain a new folder"))
                    .destructive()
                    .execution(Execution::Tracked)
                    .returns();
    Json json = spec.to_json();
    std::vector<std::string> keys;
    for (auto& [k, v] : json.items())
        keys.push_back(k);
    EXPECT_EQ(keys, (std::vector<std::string>{"operation", "label", "action", "payload", "class", "destructive", "execution",
                                              "returns", "available", "reason", "params"}));
    EXPECT_EQ(json["class"], 2);
    EXPECT_EQ(json["available"], false);
    EXPECT_EQ(json["reason"]["code"], "location_unavailable");
    EXPECT_EQ(json["params"][0]["label"], "Folder name");
    EXPECT_EQ(json["execution"], "tracked");
    EXPECT_EQ(ActionSpec("up", "Parent folder", "files.folder-command", Json("up"), 2).to_json()["reason"], nullptr);
}

TEST(ActionSpec, InputComesFromTheFirstParameterThenThePayload)
{
    auto with_param = ActionSpec("new-folder", "New folder", "files.new-folder", Json(nullptr), 2)
                          .with_param({"value", "Folder name", Json("New Folder")});
    EXPECT_EQ(derive_input(with_param, ActionArgs(Json{{"value", "Reports"}})), Json("Reports"));
    EXPECT_EQ(derive_input(with_param, ActionArgs()), Json("New Folder"));
    auto plain = ActionSpec("up", "Parent folder", "files.folder-command", Json("up"), 2);
    EXPECT_EQ(derive_input(plain, ActionArgs(Json{{"value", "x"}})), Json("up"));
}

TEST(ActionArgs, ReadsTypedParametersOnly)
{
    ActionArgs args(Json{{"value", "a"}, {"index", 3}, {"wrong", 1.5}});
    EXPECT_EQ(args.text("value"), "a");
    EXPECT_EQ(args.integer("index"), 3);
    EXPECT_EQ(args.integer("value"), std::nullopt);
    EXPECT_EQ(args.integer("wrong"), std::nullopt);
    EXPECT_EQ(ActionArgs(Json::array()).text("value"), std::nullopt);
}

TEST(ActionAddress, EncodesAndDecodes)
{
    ActionAddress address{"so.kavo.file-explorer", "files.record", "files.record:abc", "files.reveal-record", Json("abc")};
    auto decoded = ActionAddress::decode(address.encode());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, address);
    EXPECT_FALSE(ActionAddress::decode("kavo-action:[1,2]"));
    EXPECT_FALSE(ActionAddress::decode("other:[]"));
}

TEST(OperationType, OnlyThePublishedClassPasses)
{
    EXPECT_TRUE(enforce_operation_type(2, 2, "refused"));
    EXPECT_EQ(enforce_operation_type(2, 1, "refused").error(), "refused");
    EXPECT_EQ(enforce_operation_type(2, std::nullopt, "refused").error(), "refused");
}
