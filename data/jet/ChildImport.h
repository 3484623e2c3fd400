// The import's work in the child process: libmdb reads the Jet file into an SQLite image.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace JetImport {

struct ChildJob {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    std::vector<std::string> tables;
    int imageFd = -1; // shared memory that receives the copied database
};

// Runs in the child: copies the requested tables of the file into an in-memory database,
// writes its image to job.imageFd and the frame (catalogue and image size) to `out`. False
// when the file cannot be read completely.
bool ImportInChild(const ChildJob& job, int out);

} // namespace JetImport
