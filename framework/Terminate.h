#pragma once
// Include in exactly one source file of a program (its entry): an uncaught exception ends
// the program without libstdc++'s verbose handler, whose name demangler would add some
// 46 KB to the shipped file. A GUI program has nowhere to print that text anyway.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
