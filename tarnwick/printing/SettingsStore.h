#pragma once

#include <QString>

#include <optional>

// The per-user settings store: text values addressed by application, section
// and key. The real one is QtSettingsStore; tests hand in their own.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, defaultText when the key is absent, nothing when the
    // store cannot be read.
    virtual std::optional<QString> read(const QString& application, const QString& section,
                                        const QString& key, const QString& defaultText) = 0;
    virtual void write(const QString& application, const QString& section, const QString& key,
                       const QString& text) = 0;
};
