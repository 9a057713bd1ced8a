// Linked into every test program of a sanitizer build: LeakSanitizer reads
// these suppressions at start-up, so a plain `ctest` run is as clean as the
// test script's. They name process-wide caches that the font, graphics and
// type libraries keep for the life of the process by design, and what GTK
// and its accessibility bus keep once a program has opened a window
// (qmhost --window); nothing of ours is suppressed.

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
           "leak:libgio-2.0.so\n"
           "leak:libgtk-3.so\n"
           "leak:libgdk-3.so\n"
           "leak:libatk-bridge-2.0.so\n"
           "leak:libatspi.so\n"
           "leak:libdbus-1.so\n";
}
