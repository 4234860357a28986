#include "StartRoutine.h"

#include "printing/PrintSettings.h"

StartStep RunStartRoutine(bool anotherInstanceRuns, const std::optional<OsVersionInfo>& version,
                          SettingsStore& store, QString& osKind) {
    if (anotherInstanceRuns)
        return StartStep::EndAtOnce;
    osKind = DetectOsKind(version);
    if (IsFirstStart(store))
        return StartStep::OpenConfiguration;
    return StartStep::LoadResident;
}
