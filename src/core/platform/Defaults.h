#pragma once

#include <map>
#include <optional>
#include <string>

namespace sentravex {

// The user defaults: a small persistent key-value store. Values are bytes; flags are stored as
// "1" and "0" unless the store has booleans of its own, and an absent flag reads as false.
class Defaults {
public:
    virtual ~Defaults() = default;
    virtual std::optional<std::string> value(const std::string& key) const = 0;
    virtual void setValue(const std::string& key, const std::string& value) = 0;
    virtual void remove(const std::string& key) = 0;

    virtual bool boolForKey(const std::string& key) const { return value(key) == "1"; }
    virtual void setBool(const std::string& key, bool flag) { setValue(key, flag ? "1" : "0"); }
};

// Defaults kept in memory only: for the command line and tests.
class MemoryDefaults : public Defaults {
public:
    std::optional<std::string> value(const std::string& key) const override {
        auto it = values_.find(key);
        return it == values_.end() ? std::nullopt : std::optional(it->second);
    }
    void setValue(const std::string& key, const std::string& value) override {
        values_[key] = value;
    }
    void remove(const std::string& key) override { values_.erase(key); }

private:
    std::map<std::string, std::string> values_;
};

} // namespace sentravex
