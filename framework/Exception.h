#pragma once
// The program's one error type: an exception that carries a message text (UTF-8).
#include <stdexcept>
#include <string>

namespace kv {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

}  // namespace kv
