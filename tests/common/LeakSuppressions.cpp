// Linked into every test program of a sanitizer build: LeakSanitizer reads
// these suppressions at start-up, so a plain `ctest` run is as clean as the
// test script's. They name process-wide caches that the font, graphics and
// type libraries keep for the life of the process by design; nothing of ours
// is suppressed.

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libpangocairo-1.0.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libharfbuzz.so\n"
           "leak:libcairo.so\n"
           "leak:libgdk_pixbuf-2.0.so\n"
           "leak:libgio-2.0.so\n";
}
