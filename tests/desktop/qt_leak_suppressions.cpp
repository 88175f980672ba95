// LeakSanitizer: allocations the toolkit and the X and font libraries keep
// until the process ends, on purpose; the test programs link this.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6\n"
           "leak:libfontconfig\n"
           "leak:libxcb\n"
           "leak:libX11\n"
           "leak:libglib\n"
           "leak:libdbus\n";
}
