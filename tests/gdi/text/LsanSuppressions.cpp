// fontconfig loses a few bytes of its own while parsing its configuration
// (inside FcInitLoadConfigAndFonts).  Suppressed here, in the test program
// itself, so that every way of running the tests agrees; only that library
// is named, so a leak of ours still fails the run.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
