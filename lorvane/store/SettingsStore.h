#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <utility>
#include <vector>

// The place where the program keeps its options between runs: one flat set of named
// values. The real store is an INI file (SettingsStoreIni.h); tests use FakeSettingsStore.h.
namespace lorvane {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Whether anything has been stored yet; a store that holds nothing is a first start.
    virtual bool exists() const = 0;

    // The stored value as the store holds it, or nothing when the name is absent.
    virtual std::optional<QVariant> value(const QString& name) const = 0;

    // Stores the values in the given order. Returns false when the store cannot be
    // written at all; then nothing of it is kept.
    virtual bool write(const std::vector<std::pair<QString, QVariant>>& values) = 0;
};

} // namespace lorvane
