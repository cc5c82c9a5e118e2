// Linked into every test in the sanitizer build. Fontconfig keeps a cache for
// the life of the process; it is not ours to free.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}
