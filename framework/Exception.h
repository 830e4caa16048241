#pragma once
// The program's one error type: an exception that carries a message text (UTF-8).
#include <exception>
#include <string>

namespace kv {

// Holds its own text rather than deriving from std::runtime_error, whose copy-on-write string
// would bring some 40 KB of the C++ library into the shipped file.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    std::string Message() const { return message_; }

private:
    std::string message_;
};

}  // namespace kv
