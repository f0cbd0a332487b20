// The entry point of every test program: the same environment whichever way the tests start
// (ctest, by hand, under a debugger), and sanitizer settings compiled in rather than passed.
#include <gtest/gtest.h>

#include <cstdlib>

extern "C" const char* __asan_default_options() { return "detect_leaks=1:abort_on_error=0:strict_string_checks=1"; }
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
// System libraries that keep process-lifetime caches.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libQt6Gui.so\nleak:libQt6Core.so\nleak:libicuuc.so\nleak:libdbus-1.so\n";
}

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // No test window listens for automation unless a test asks for it.
    setenv("KAVO_UI_AUTOMATION_SOCKET", "", 1);
    // Texts and formats are those of the source locale unless a test picks another.
    setenv("KAVO_UI_LOCALE", "en-US", 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
