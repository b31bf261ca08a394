// Leaks of libraries outside the program, known and bounded, that the leak
// checker is told to pass: fontconfig keeps a piece of its configuration each
// time Qt's font database loads it (Qt's print dialogs load it).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
