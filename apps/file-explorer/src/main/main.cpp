#include "main/launch_description.hpp"

#include "kavo_services/logger.hpp"
#include "kavo_ui/diag.hpp"

int main(int argc, char** argv)
{
    kavo_services::install_logger();
    auto result = kavo_ui::launch::run(files::launch::launch_description(), argc, argv);
    if (!result) {
        kavo_ui::diag::write_line("file-explorer: " + result.error().message);
        return 1;
    }
    return 0;
}
