#pragma once

#include <QByteArray>

#include <memory>
#include <optional>

// The artist-to-genre association table as the add run sees it.
//
// How to use: the association store implements AssociationSource; OrganizeFiles (and
// the window before a single AddSong after a rename) calls LoadAssociations() once per
// run. A null result means "not loaded for this run" (option off or no file); the
// table is closed again by destroying the returned object. LoadAssociations() throws
// StoreError when the file exists but cannot be read; the run then adds nothing.
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
