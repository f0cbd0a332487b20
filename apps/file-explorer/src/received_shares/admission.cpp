#include "received_shares/admission.hpp"

#include "i18n/catalog.hpp"

namespace files::received_shares {

AdmissionOutcome admit_shared_link(std::string_view)
{
    // No client for the received-file service is built into this version of Files, so every
    // link meets the same answer the service gives when it is not running.
    return AdmissionOutcome{false, i18n::t("files-received-not-available"), std::nullopt, false};
}

}
