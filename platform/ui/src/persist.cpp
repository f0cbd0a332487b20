#include "kavo_ui/persist.hpp"
#include "kavo_services/hex.hpp"

#include "kavo_services/app_dirs.hpp"

#include <spdlog/spdlog.h>
#include <sodium.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kavo_ui::persist {

namespace {

constexpr size_t k_actor_bytes = 16;
constexpr size_t k_max_document_bytes = 4 * 1024 * 1024;


std::optional<std::vector<uint8_t>> from_hex(std::string_view text)
{
    if (text.size() != 2 * k_actor_bytes)
        return std::nullopt;
    std::vector<uint8_t> out;
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = nibble(text[i]), lo = nibble(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.push_back(uint8_t(hi * 16 + lo));
    }
    return out;
}

std::optional<StateDocument> read_document(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text;
    text.resize(k_max_document_bytes + 1);
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(size_t(in.gcount()));
    if (text.size() > k_max_document_bytes)
        return std::nullopt;
    auto json = nlohmann::ordered_json::parse(text, nullptr, false);
    if (!json.is_object() || !json.contains("actor") || !json["actor"].is_string())
        return std::nullopt;
    auto actor = from_hex(json["actor"].get<std::string>());
    if (!actor)
        return std::nullopt;
    StateDocument doc;
    doc.actor = std::move(*actor);
    if (json.contains("content") && json["content"].is_object())
        doc.content = json["content"];
    return doc;
}

// Writes through a temporary file and a rename, so a crash never leaves half a document.
bool write_document(const std::filesystem::path& file, const StateDocument& doc)
{
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec)
        return false;
    auto tmp = file;
    tmp += ".tmp-" + std::to_string(getpid());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        nlohmann::ordered_json json = {{"actor", kavo_services::to_hex(doc.actor)}, {"content", doc.content}};
        out << json.dump();
        if (!out.flush())
            return false;
    }
    std::filesystem::rename(tmp, file, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        return false;
    }
    return true;
}

}

AppState open(std::string_view app_id)
{
    AppState state;
    auto base = kavo_services::AppDirs::state_dir();
    if (base)
        state.bookkeeping.file = *base / "kavo-ui" / app_id / "state.json";
    if (!state.bookkeeping.file.empty()) {
        if (auto doc = read_document(state.bookkeeping.file)) {
            state.document = std::move(*doc);
            state.bookkeeping.stored = true;
            return state;
        }
    }
    if (sodium_init() < 0)
        spdlog::warn("persist: random source unavailable");
    state.document.actor.resize(k_actor_bytes);
    randombytes_buf(state.document.actor.data(), k_actor_bytes);
    state.bookkeeping.created = true;
    if (!state.bookkeeping.file.empty())
        state.bookkeeping.stored = write_document(state.bookkeeping.file, state.document);
    if (!state.bookkeeping.stored)
        spdlog::info("persist: state document kept in memory only");
    return state;
}

}
