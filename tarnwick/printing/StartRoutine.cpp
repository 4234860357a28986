#include "StartRoutine.h"

#include "printing/PrintSettings.h"

StartStep RunStartRoutine(bool anotherInstanceRuns, SettingsStore& store) {
    if (anotherInstanceRuns)
        return StartStep::EndAtOnce;
    if (IsFirstStart(store))
        return StartStep::OpenConfiguration;
    return StartStep::LoadResident;
}
