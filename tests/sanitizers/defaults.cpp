// Linked into every executable of the sanitizer build, and only there.

// Options compiled in, so every way of running the tests (ctest, the e2e
// scripts, by hand) checks the same way: leaks fail the run with status 23,
// any undefined behaviour stops it at once, and the toolkit's and driver's
// own leaks are suppressed by the checked-in list.
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=1:exitcode=23";
}

extern "C" const char *__lsan_default_options()
{
    return "suppressions=" TANK_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

extern "C" const char *__ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

// At exit the GL driver library is unloaded before LeakSanitizer looks,
// which takes away the driver's own globals, the roots of its long-lived
// allocations, and makes all of them look leaked from an unknown module.
// Keeping every module mapped lets the leak check see that memory for what
// it is and name the driver in its reports.
extern "C" int dlclose(void *handle)
{
    (void)handle;
    return 0;
}
