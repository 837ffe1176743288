// Linked into every program of the sanitizer build (VANTEL_SANITIZE), so
// that a test run by ctest or by hand, or the program a test starts, stops
// at the first report of any sanitizer and fails, and knows the leaks that
// are not ours. Options in the environment still take precedence.
extern "C" {

const char* __asan_default_options()
{
    return "halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:"
           "check_initialization_order=1:strict_init_order=1";
}

const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

const char* __lsan_default_options()
{
    return "suppressions=" VANTEL_LSAN_SUPPRESSIONS;
}

}  // extern "C"
