#include "Notices.h"

#include "printing/PrintSettings.h"
#include "printing/SettingsStore.h"

namespace {

const QString kNoticesSection = QStringLiteral("Notices");

} // namespace

bool NoticeDue(SettingsStore& store, const QString& notice) {
    const std::optional<QString> shown =
        store.read(kSettingsApplication, kNoticesSection, notice, QString());
    // A store that cannot be read would bring the notice at every start: better once
    // too often than never.
    if (shown && *shown == kProgramVersion)
        return false;
    store.write(kSettingsApplication, kNoticesSection, notice, kProgramVersion);
    return true;
}
