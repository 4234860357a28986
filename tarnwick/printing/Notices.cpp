#include "Notices.h"

#include "platform/SettingsStore.h"
#include "printing/PrintSettings.h"

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
