// FakeSettingsStore.h: a SettingsStore in memory.
#pragma once

#include "store/SettingsStore.h"

#include <QMap>
#include <QStringList>

namespace lorvane {

// Settings held in memory, for tests: records the order of writes and can refuse them.
class FakeSettingsStore : public SettingsStore {
public:
    QMap<QString, QVariant> values;
    QStringList writeOrder;    // names of the last write, in order
    bool refuseWrites = false; // behave like a store that cannot be opened for writing
    int writes = 0;            // successful writes

    bool exists() const override { return !values.isEmpty(); }
    std::optional<QVariant> value(const QString& name) const override {
        auto it = values.find(name);
        if (it == values.end())
            return std::nullopt;
        return *it;
    }
    bool write(const std::vector<std::pair<QString, QVariant>>& list) override {
        if (refuseWrites)
            return false;
        writeOrder.clear();
        for (const auto& [name, v] : list) {
            values.insert(name, v);
            writeOrder << name;
        }
        ++writes;
        return true;
    }
};

} // namespace lorvane
