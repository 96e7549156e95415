#pragma once

#include "view/Color.h"

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
    void setName(std::string v) { name_ = std::move(v); }
    const std::string& infections() const { return infections_; }
    void setInfections(std::string v) { infections_ = std::move(v); }
    std::int64_t size() const { return size_; }
    void setSize(std::int64_t v) { size_ = v; }
    const std::string& url() const { return url_; } // the logical path
    void setUrl(std::string v) { url_ = std::move(v); }
    const std::string& risk() const { return risk_; }
    void setRisk(std::string v) { risk_ = std::move(v); }
    bool isChecked() const { return isChecked_; }
    void setIsChecked(bool v) { isChecked_ = v; }
    bool isAvail() const { return isAvail_; }
    void setIsAvail(bool v) { isAvail_ = v; }
    bool isDeleted() const { return isDeleted_; }
    void setIsDeleted(bool v) { isDeleted_ = v; }
    bool isNoAction() const { return isNoAction_; }
    void setIsNoAction(bool v) { isNoAction_ = v; }
    const Color& redGreen() const { return redGreen_; }
    void setRedGreen(Color v) { redGreen_ = v; }

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
