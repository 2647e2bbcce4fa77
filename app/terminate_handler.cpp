// What std::terminate runs by default: abort at once. libstdc++'s own version prints the
// exception's demangled type first, which links its whole demangler and a printf (about 60 KB,
// a fifth of the program) for a message a windowed program has nowhere to show. A definition
// here keeps that one out of the link.
#include <cxxabi.h>

#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
