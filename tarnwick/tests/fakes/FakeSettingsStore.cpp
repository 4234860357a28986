#include "FakeSettingsStore.h"

#include "printing/PrintSettings.h"

namespace {

QString path(const QString& application, const QString& section, const QString& key) {
    return application + u'/' + section + u'/' + key;
}

} // namespace

std::optional<QString> FakeSettingsStore::read(const QString& application, const QString& section,
                                               const QString& key, const QString& defaultText) {
    if (unreadable.contains(key))
        return std::nullopt;
    return m_values.value(path(application, section, key), defaultText);
}

void FakeSettingsStore::write(const QString& application, const QString& section,
                              const QString& key, const QString& text) {
    m_values.insert(path(application, section, key), text);
    m_writtenKeys.append(key);
}

void FakeSettingsStore::set(const QString& key, const QString& text) {
    m_values.insert(path(kSettingsApplication, kSettingsSection, key), text);
}
