// What the import child sends its parent through the pipe, and how the parent reads it back.
#pragma once

#include "data/JetImport.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace JetImport {

// A table of the Jet catalogue with its columns, as the child found them.
struct TableNames {
    std::string name;
    std::vector<std::string> columns;
};

// The frame: a magic word, the catalogue, the size of the copied database (which the child has
// written into shared memory) and a trailer. A crash or a kill anywhere before the end leaves
// the trailer missing, and the frame is refused.
std::string EncodeFrame(const std::vector<TableNames>& tables, std::uint64_t imageSize);

struct Frame {
    std::shared_ptr<Catalogue> catalogue;
    std::uint64_t imageSize = 0;
};
std::optional<Frame> DecodeFrame(const QByteArray& data);

// Writes all of `data`, going on after interruptions; false when the descriptor fails.
bool WriteAll(int fd, const void* data, std::size_t size);

} // namespace JetImport
