#pragma once

#include "platform/Color.h"

#include <cstdint>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>

namespace sentravex {

class FileSystem;

// One found location of the Quorvane suite: a threat record.
class Quorvane {
public:
    // `isChecked` is accepted and not consulted: a record is checked exactly when its location
    // exists.
    static std::shared_ptr<Quorvane> QuorvaneWithName(const FileSystem& fs, std::string name,
                                                      bool isChecked, std::string infections,
                                                      std::int64_t size, std::string url,
                                                      std::string risk);

    // Keyed archiving with the six keys "name", "isChecked", "infections", "size", "url", "risk".
    nlohmann::ordered_json encodeWithCoder() const;
    // Existence is tested again at decoding; "isChecked" is not read.
    static std::shared_ptr<Quorvane> initWithCoder(const FileSystem& fs,
                                                   const nlohmann::ordered_json& archive);

    const std::string& name() const { return name_; }
    const std::string& infections() const { return infections_; }
    std::int64_t size() const { return size_; }
    const std::string& url() const { return url_; } // the logical path
    const std::string& risk() const { return risk_; }
    bool isChecked() const { return isChecked_; }
    bool isAvail() const { return isAvail_; }
    bool isDeleted() const { return isDeleted_; }
    void setIsDeleted(bool v) { isDeleted_ = v; }
    bool isNoAction() const { return isNoAction_; }
    void setIsNoAction(bool v) { isNoAction_ = v; }
    const Color& redGreen() const { return redGreen_; }

private:
    void testAvailability(const FileSystem& fs);

    std::string name_;
    std::string infections_;
    std::int64_t size_ = 0;
    std::string url_;
    std::string risk_;
    bool isChecked_ = false;
    bool isAvail_ = false;
    bool isDeleted_ = false;
    bool isNoAction_ = false;
    Color redGreen_;
};

using QuorvanePtr = std::shared_ptr<Quorvane>;

} // namespace sentravex
