#pragma once

#include <QByteArray>

#include <memory>
#include <optional>

// The artist-to-genre association table as the add run sees it.
//
// LoadAssociations() is called once per add run. A null result means "not loaded for
// this run" (option off or no file); the table stays open until the returned object is
// destroyed. It throws StoreError when the file exists but cannot be read, before the
// run has added anything.
namespace lorvane {

class AssociationLookup {
public:
    virtual ~AssociationLookup() = default;
    // Genre of the first row whose Artist equals artist exactly (bytes, case kept).
    virtual std::optional<QByteArray> genreOf(const QByteArray& artist) const = 0;
};

class AssociationSource {
public:
    virtual ~AssociationSource() = default;
    virtual std::unique_ptr<AssociationLookup> LoadAssociations() = 0;
};

} // namespace lorvane
