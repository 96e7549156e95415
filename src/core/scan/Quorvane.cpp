#include "Quorvane.h"

#include "platform/FileSystem.h"

#include <nlohmann/json.hpp>

namespace sentravex {

void Quorvane::testAvailability(const FileSystem& fs) {
    isAvail_ = !url_.empty() && fs.exists(url_);
    isChecked_ = isAvail_;
    redGreen_ = isAvail_ ? colors::black : colors::gray;
}

QuorvanePtr Quorvane::QuorvaneWithName(const FileSystem& fs, std::string name, bool /*isChecked*/,
                                       std::string infections, std::int64_t size, std::string url,
                                       std::string risk) {
    auto record = std::make_shared<Quorvane>();
    record->name_ = std::move(name);
    record->infections_ = std::move(infections);
    record->size_ = size;
    record->url_ = std::move(url);
    record->risk_ = std::move(risk);
    record->testAvailability(fs);
    record->isNoAction_ = true;
    return record;
}

nlohmann::ordered_json Quorvane::encodeWithCoder() const {
    nlohmann::ordered_json archive;
    archive["name"] = name_;
    archive["isChecked"] = isChecked_;
    archive["infections"] = infections_;
    archive["size"] = size_;
    archive["url"] = url_;
    archive["risk"] = risk_;
    return archive;
}

QuorvanePtr Quorvane::initWithCoder(const FileSystem& fs, const nlohmann::ordered_json& archive) {
    auto text = [&archive](const char* key) {
        auto it = archive.find(key);
        return it != archive.end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    auto record = std::make_shared<Quorvane>();
    record->name_ = text("name");
    record->infections_ = text("infections");
    if (auto it = archive.find("size"); it != archive.end() && it->is_number_integer())
        record->size_ = it->get<std::int64_t>();
    record->url_ = text("url");
    record->risk_ = text("risk");
    record->testAvailability(fs);
    return record;
}

} // namespace sentravex
