#pragma once

#include "printing/SettingsStore.h"

// QSettings in its native format, per user: an INI file
// ~/.config/<application>/<application>.conf (XDG_CONFIG_HOME moves it).
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore() = default;
    // Keeps every application's values in this one INI file instead (tests, tools).
    explicit QtSettingsStore(const QString& iniFile) : m_iniFile(iniFile) {}

    std::optional<QString> read(const QString& application, const QString& section,
                                const QString& key, const QString& defaultText) override;
    void write(const QString& application, const QString& section, const QString& key,
               const QString& text) override;

private:
    QString m_iniFile;
};
