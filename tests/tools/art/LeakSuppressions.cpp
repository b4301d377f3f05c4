// Fontconfig keeps patterns that pango's font caches let go of without freeing them; even a
// program that lays out one word and frees everything shows them. They are no fault of the art
// code, so the leak checker of sanitizer builds is told to pass over them.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
