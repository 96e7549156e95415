#include "HttpAnswer.h"

namespace sentravex {

std::optional<std::string> httpAnswer(const RequestEnd& end, std::string body) {
    if (!end.hasStatus || end.error == RequestError::Transport || end.capPassed)
        return std::nullopt;
    if (end.declaredLength && *end.declaredLength != body.size())
        return std::nullopt;
    return body;
}

} // namespace sentravex
