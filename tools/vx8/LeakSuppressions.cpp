// Fontconfig keeps patterns that pango's font caches drop without freeing them, so the contact
// sheet shows them as leaks in sanitizer builds; they are no fault of the tool's code.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

// The list of suppressions used would follow the tool's own message on standard error, whose
// last line is the message.
extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}
