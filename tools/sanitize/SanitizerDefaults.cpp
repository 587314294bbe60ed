// Default sanitizer settings of every program of the sanitizer build (tests, runner, program), so
// that a run started by hand or by a test behaves as one started by CTest. The environment
// variables still override them.
extern "C" {

const char* __asan_default_options() {
    return "detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:"
           "check_initialization_order=1:strict_init_order=1";
}

const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

}  // extern "C"

extern "C" {

// fontconfig keeps its one process-wide configuration until the process ends and offers no safe
// point to release it while fonts may still be looked up: that allocation is the library's, not ours.
const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

// A suppressed leak is not reported, nor counted on standard error: what a program says is compared
// by tests, and whether fontconfig's allocation is still reachable at exit differs between machines
// (on a machine with no font cache yet it is not).
const char* __lsan_default_options() {
    return "print_suppressions=0";
}

}  // extern "C"
