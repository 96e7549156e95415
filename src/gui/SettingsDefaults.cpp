#include "SettingsDefaults.h"

namespace sentravex {

std::optional<std::string> SettingsDefaults::value(const std::string& key) const {
    const auto k = QString::fromStdString(key);
    if (!settings_.contains(k))
        return std::nullopt;
    return settings_.value(k).toByteArray().toStdString();
}

void SettingsDefaults::setValue(const std::string& key, const std::string& value) {
    settings_.setValue(QString::fromStdString(key), QByteArray::fromStdString(value));
    settings_.sync();
}

bool SettingsDefaults::boolForKey(const std::string& key) const {
    return settings_.value(QString::fromStdString(key), false).toBool();
}

void SettingsDefaults::setBool(const std::string& key, bool flag) {
    settings_.setValue(QString::fromStdString(key), flag);
    settings_.sync();
}

void SettingsDefaults::remove(const std::string& key) {
    settings_.remove(QString::fromStdString(key));
    settings_.sync();
}

} // namespace sentravex
