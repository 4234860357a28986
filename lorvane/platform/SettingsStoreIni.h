#pragma once

#include "store/SettingsStore.h"

#include <QString>

#include <memory>

class QSettings;

namespace lorvane {

// The options as an INI file through QSettings: by default the per-user file
// ~/.config/Lorvane/Lorvane.conf (XDG_CONFIG_HOME moves it), values at top level.
class SettingsStoreIni : public SettingsStore {
public:
    SettingsStoreIni();                                 // the per-user file
    explicit SettingsStoreIni(const QString& fileName); // an explicit file (tests, tools)
    ~SettingsStoreIni() override;

    QString fileName() const;

    bool exists() const override;
    std::optional<QVariant> value(const QString& name) const override;
    bool write(const std::vector<std::pair<QString, QVariant>>& values) override;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace lorvane
