#include "JsonFile.h"

#include "platform/BoundedJson.h"
#include "platform/FileSystem.h"

namespace sentravex {
namespace {

std::optional<Json> objectOnly(std::optional<Json> parsed) {
    if (!parsed || !parsed->is_object())
        return std::nullopt;
    return parsed;
}

} // namespace

std::optional<Json> parseJsonObject(const std::string& text) {
    return objectOnly(parseBoundedJson(text));
}

std::optional<Json> readJsonObject(const FileSystem& fs, const std::string& path) {
    auto data = fs.readFile(path, largestStore);
    if (!data)
        return std::nullopt;
    return parseJsonObject(*data);
}

const Json* valueAtKeyPath(const Json& object, std::string_view keyPath) {
    const Json* at = &object;
    for (;;) {
        auto dot = keyPath.find('.');
        auto key = keyPath.substr(0, dot);
        if (!at->is_object())
            return nullptr;
        auto found = at->find(key);
        if (found == at->end())
            return nullptr;
        at = &*found;
        if (dot == std::string_view::npos)
            return at;
        keyPath.remove_prefix(dot + 1);
    }
}

std::optional<std::string> stringAtKeyPath(const Json& object, std::string_view keyPath) {
    const Json* value = valueAtKeyPath(object, keyPath);
    if (!value || !value->is_string())
        return std::nullopt;
    return value->get<std::string>();
}

} // namespace sentravex
