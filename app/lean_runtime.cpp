// The C++ runtime's failure paths, cut down for a program that handles no
// exception. Nothing in Vintrel catches one, so anything the library threw (out
// of memory, an impossible string length) would end in std::terminate and abort;
// here it aborts at once. That keeps the exception classes, their strings and
// the terminate handler's demangler out of the executable, over half its size.

#include <cstddef>
#include <cstdlib>
#include <new>

// Out of memory ends the program, as the uncaught std::bad_alloc would.
void* operator new(std::size_t size)
{
    if (void* block = std::malloc(size != 0 ? size : 1))
        return block;
    std::abort();
}

// A GUI program has no console for the verbose handler's message.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
}  // namespace __gnu_cxx

// Every entry of the library's own file of throw helpers is given here, so that
// its object (and the exception machinery it brings) is never linked, whichever
// helpers the program's code comes to use.
namespace std {
void __throw_bad_exception() { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }
}  // namespace std
