// fontconfig loses a block while it parses its configuration files (seen
// with 2.14); the leak is the library's, not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
