// FakeSettingsStore.h: FakeSettingsStore, settings in memory; chosen reads can fail.
#pragma once

#include "printing/SettingsStore.h"

#include <QHash>
#include <QStringList>

class FakeSettingsStore : public SettingsStore {
public:
    std::optional<QString> read(const QString& application, const QString& section,
                                const QString& key, const QString& defaultText) override;
    void write(const QString& application, const QString& section, const QString& key,
               const QString& text) override;

    // Stores a value of the program's section directly.
    void set(const QString& key, const QString& text);
    QString value(const QString& key) const { return m_values.value(key); }
    bool contains(const QString& key) const { return m_values.contains(key); }
    QStringList writtenKeys() const { return m_writtenKeys; }

    // Keys whose read fails as if the store could not be read.
    QStringList unreadable;

private:
    QHash<QString, QString> m_values; // "application/section/key" -> text
    QStringList m_writtenKeys;
};
