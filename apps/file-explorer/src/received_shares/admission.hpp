#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace files::received_shares {

// The result of handing a shared-file link to the platform's received-file service.
struct AdmissionOutcome {
    bool admitted = false;
    std::string failure;  // localised text when not admitted
    std::optional<std::filesystem::path> local_path;
    bool received_file = false;  // a received file, rather than a mount that is still starting
};

AdmissionOutcome admit_shared_link(std::string_view link);

}
