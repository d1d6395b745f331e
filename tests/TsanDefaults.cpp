// Linked into every program of the ThreadSanitizer build: the options it runs with unless
// TSAN_OPTIONS says otherwise. A program started by a test with an environment of its own
// still stops at its first race (exit status 66) and still knows which reports come from
// inside the uninstrumented third-party libraries.
extern "C" const char* __tsan_default_options() {
    return "halt_on_error=1:second_deadlock_stack=1:suppressions=" KELVANE_TSAN_SUPPRESSIONS;
}
