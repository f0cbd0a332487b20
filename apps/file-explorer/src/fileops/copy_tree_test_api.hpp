#pragma once

#include <functional>

namespace files::fileops {

// Lets a test act inside the window that a concurrent process could use against copy_tree:
// after an entry's status was read and before the entry is opened.
class CopyTreeTestApi {
public:
    using Hook = std::function<void(int folder_fd, const char* name)>;
    // An empty hook removes it.
    static void set_between_status_and_open(Hook hook);
};

}
