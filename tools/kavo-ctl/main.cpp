#include <cstdio>

int main()
{
    std::fputs("kavo-ctl: not built yet\n", stderr);
    return 2;
}
