// Sanitizer build only: LeakSanitizer's suppression for programs that load
// many GStreamer plugins. GLib keeps its quark table in an array that it
// allocates while the library initialises and, on purpose, leaks when the
// table grows past its first 2048 quarks; nothing else of ours is allocated
// while a library initialises. The suppression needs whole allocation stacks
// (GLib has no frame pointers), so those are taken the slow way.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:_dl_init\n";
}

// The report of what was suppressed would end up in the programs' output.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

extern "C" const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
