#include "files_app/command.hpp"

#include <array>
#include <utility>

namespace files::app {

namespace {

constexpr std::array<std::pair<std::string_view, cmd::EntryOp>, 16> k_entry_kinds{{
    {"restore", cmd::EntryOp::Restore},
    {"purge", cmd::EntryOp::Purge},
    {"properties", cmd::EntryOp::Properties},
    {"copy", cmd::EntryOp::Copy},
    {"cut", cmd::EntryOp::Cut},
    {"trash", cmd::EntryOp::Trash},
    {"sharing", cmd::EntryOp::Sharing},
    {"history", cmd::EntryOp::History},
    {"compress", cmd::EntryOp::Compress},
    {"extract", cmd::EntryOp::Extract},
    {"availability", cmd::EntryOp::Availability},
    {"keep-offline", cmd::EntryOp::KeepOffline},
    {"automatic-storage", cmd::EntryOp::AutomaticStorage},
    {"free-local-space", cmd::EntryOp::FreeLocalSpace},
    {"retry-transfer", cmd::EntryOp::RetryTransfer},
    {"send-nearby", cmd::EntryOp::SendNearby},
}};

}

std::optional<cmd::EntryOp> entry_op_from_kind(std::string_view kind)
{
    for (auto [name, op] : k_entry_kinds)
        if (name == kind)
            return op;
    return std::nullopt;
}

std::string_view kind_of(cmd::EntryOp op)
{
    for (auto [name, o] : k_entry_kinds)
        if (o == op)
            return name;
    return {};
}

bool changes_files(const Command& command)
{
    if (auto* entry = std::get_if<cmd::EntryAction>(&command)) {
        switch (entry->op) {
        case cmd::EntryOp::Properties:
        case cmd::EntryOp::Copy:
        case cmd::EntryOp::Sharing:
        case cmd::EntryOp::History:
        case cmd::EntryOp::Availability:
        case cmd::EntryOp::Extract:  // writes next to the archive, outside it
        case cmd::EntryOp::SendNearby: return false;
        default: return true;
        }
    }
    return std::holds_alternative<cmd::NewFolder>(command) || std::holds_alternative<cmd::Paste>(command)
        || std::holds_alternative<cmd::NewFromTemplate>(command)
        || std::holds_alternative<cmd::RenameEntry>(command) || std::holds_alternative<cmd::EmptyTrash>(command)
        || std::holds_alternative<cmd::UndoTrash>(command);
}

}
