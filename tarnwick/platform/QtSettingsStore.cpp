#include "QtSettingsStore.h"

#include <QSettings>
#include <QStringList>

#include <memory>

namespace {

std::unique_ptr<QSettings> open(const QString& iniFile, const QString& application) {
    if (!iniFile.isEmpty())
        return std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application,
                                       application);
}

// Qt's INI files keep top-level keys in [General] and escape a group of that
// name; mapping the section "General" to the top level keeps the file's section
// named as the program names it.
QString keyPath(const QString& section, const QString& key) {
    if (section.isEmpty() || section == QLatin1String("General"))
        return key;
    return section + u'/' + key;
}

} // namespace

std::optional<QString> QtSettingsStore::read(const QString& application, const QString& section,
                                             const QString& key, const QString& defaultText) {
    const auto settings = open(m_iniFile, application);
    if (settings->status() == QSettings::AccessError)
        return std::nullopt;
    const QVariant value = settings->value(keyPath(section, key));
    if (!value.isValid())
        return defaultText;
    // An unquoted comma in a hand-edited file makes Qt read a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void QtSettingsStore::write(const QString& application, const QString& section, const QString& key,
                            const QString& text) {
    const auto settings = open(m_iniFile, application);
    settings->setValue(keyPath(section, key), text);
    settings->sync();
}
