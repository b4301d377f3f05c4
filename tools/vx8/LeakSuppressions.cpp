// Fontconfig keeps patterns that pango's font caches drop without freeing them, so the contact
// sheet shows them as leaks in sanitizer builds; they are no fault of the tool's code.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
