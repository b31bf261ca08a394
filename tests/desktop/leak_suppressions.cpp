// Leaks of libraries outside the program, known and bounded, that the leak
// checker is told to pass: fontconfig keeps a piece of its configuration each
// time Qt's font database loads it (Qt's print dialogs load it); the C library
// keeps the composite name of a locale whose categories differ (a comma locale
// with "C" numbers) once for each such setlocale.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:__argz_add_sep\n";
}
