// copy-item SRC DSTDIR: one copy through the transfer engine, for timing against cp.
#include "fileops/transfer_engine.hpp"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: copy-item SRC DSTDIR\n");
        return 2;
    }
    auto copied = files::fileops::transfer_item(argv[1], argv[2], files::fileops::TransferMode::Copy);
    if (!copied) {
        std::fprintf(stderr, "copy-item: %s\n", copied.error().c_str());
        return 1;
    }
    return 0;
}
