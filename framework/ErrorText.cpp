#include "framework/ErrorText.h"

namespace kv {

std::string WithFullStop(const std::string& message) {
    if (!message.empty() && message.back() == '.') return message;
    return message + ".";
}

}  // namespace kv
