#pragma once

#include "platform/Defaults.h"

#include <QSettings>

namespace sentravex {

// The user defaults kept in the application's own settings, written through at every change
// so that a grant survives a crash.
class SettingsDefaults : public Defaults {
public:
    SettingsDefaults() = default;
    explicit SettingsDefaults(const QString& file) : settings_(file, QSettings::IniFormat) {}

    std::optional<std::string> value(const std::string& key) const override;
    void setValue(const std::string& key, const std::string& value) override;
    void remove(const std::string& key) override;
    // Flags are booleans in the settings (in the defaults domain on macOS, not data holding "1"),
    // and any stored form of true reads as true.
    bool boolForKey(const std::string& key) const override;
    void setBool(const std::string& key, bool flag) override;
    void synchronize() { settings_.sync(); }

private:
    QSettings settings_;
};

} // namespace sentravex
