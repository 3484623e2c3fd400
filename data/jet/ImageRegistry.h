// The imported database in the parent: the image the child left in shared memory, mapped in
// place, and the registry that ties that memory, the catalogue and the file lock to the
// connection reading them.
#pragma once

#include "data/JetImport.h"
#include "data/jet/JetFile.h"

#include <QByteArray>

#include <memory>
#include <optional>

namespace JetImport {

// A read-only connection on the image in imageFd, with the catalogue the frame `output` names;
// nothing when the frame is incomplete or the image unusable.
std::optional<ImportedDatabase> LoadChildOutput(const QByteArray& output, int imageFd);

// Keeps `file` open and locked for as long as the connection `db`, made by LoadChildOutput,
// lives.
void HoldFileWhileOpen(sqlite3* db, LockedFile file);

// The catalogue of a connection made by LoadChildOutput; null for any other.
std::shared_ptr<const Catalogue> RegisteredCatalogue(sqlite3* db);

} // namespace JetImport
