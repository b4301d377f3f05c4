// Leak checker suppressions for test programs that lay out text (linked into them by name).
// Fontconfig keeps patterns that pango's font caches let go of without freeing them; even a
// program that lays out one word and frees everything shows them. They are no fault of our code,
// so the leak checker of sanitizer builds is told to pass over them. The toolkit's other one-time
// allocations stay reachable from its globals and need no entry.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
