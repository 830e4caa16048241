// The C++ library's own failures (a string or vector grown past its limit, an index out of
// range, memory exhausted) raised as this program's exceptions. The library's versions throw
// its standard exception classes, whose copy-on-write strings bring some 40 KB into the
// shipped file; the handlers catch std::exception and report the text either way. Every
// function of the library's one object that holds them is here, so that it never comes along.
#include <bits/functexcept.h>

#include <exception>
#include <new>
#include <typeinfo>

#include "framework/Exception.h"

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* what) { throw kv::Exception(what); }
void __throw_domain_error(const char* what) { throw kv::Exception(what); }
void __throw_invalid_argument(const char* what) { throw kv::Exception(what); }
void __throw_length_error(const char* what) { throw kv::Exception(what); }
void __throw_out_of_range(const char* what) { throw kv::Exception(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw kv::Exception(format); }
void __throw_runtime_error(const char* what) { throw kv::Exception(what); }
void __throw_range_error(const char* what) { throw kv::Exception(what); }
void __throw_overflow_error(const char* what) { throw kv::Exception(what); }
void __throw_underflow_error(const char* what) { throw kv::Exception(what); }

}  // namespace std
