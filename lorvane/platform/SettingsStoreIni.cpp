#include "platform/SettingsStoreIni.h"

#include <QSettings>

namespace lorvane {

SettingsStoreIni::SettingsStoreIni()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Lorvane"),
                                             QStringLiteral("Lorvane"))) {}

SettingsStoreIni::SettingsStoreIni(const QString& fileName)
    : m_settings(std::make_unique<QSettings>(fileName, QSettings::IniFormat)) {}

SettingsStoreIni::~SettingsStoreIni() = default;

QString SettingsStoreIni::fileName() const {
    return m_settings->fileName();
}

bool SettingsStoreIni::exists() const {
    // Pick up edits made by hand since this object was made.
    m_settings->sync();
    return !m_settings->allKeys().isEmpty();
}

std::optional<QVariant> SettingsStoreIni::value(const QString& name) const {
    if (!m_settings->contains(name))
        return std::nullopt;
    return m_settings->value(name);
}

bool SettingsStoreIni::write(const std::vector<std::pair<QString, QVariant>>& values) {
    for (const auto& [name, v] : values)
        m_settings->setValue(name, v);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace lorvane
