// Allocations far beyond the machine must fail by returning null under the
// address sanitizer too, as they do in a plain build, instead of ending the run.
#include "UnderAddressSanitizer.h"

#if ENGINE_TESTS_UNDER_ASAN
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }
#endif
