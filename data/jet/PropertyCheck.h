// The property blocks that libmdb parses while it reads the catalogue, checked before it does:
// its parser trusts their lengths, so a damaged block makes it read past its buffer or, with
// a length of zero, loop for ever.
#pragma once

#include "data/jet/RowReader.h"

#include <cstddef>

namespace JetImport {

// True for a "KKD" or "MR2" block in which every record's length stays inside the block and
// moves the reading on, and every value fits its record and its type.
bool IsSoundPropertyBlock(const unsigned char* data, std::size_t size);

// Reads the property value (LvProp) of every row of the catalogue table and checks it. False
// when a row or value cannot be read or a block is unsound. `blocks` counts the blocks seen.
bool CatalogueHasSoundProperties(JetReader& reader, int* blocks = nullptr);

} // namespace JetImport
