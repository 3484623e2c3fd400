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
    // Bounds of the work: pages libmdb may read (0: by the file's size) and bytes of values one
    // table may bring.
    unsigned long maxPageReads = 0;
    unsigned long long maxTableBytes = 0;
};

// Pages a sound file of `pages` pages needs at most to be read whole, with room to spare.
unsigned long PageReadBudget(unsigned long pages);

// Runs in the child: copies the requested tables of the file into an in-memory database,
// writes its image to job.imageFd and the frame (catalogue and image size) to `out`. False
// when the file cannot be read completely.
bool ImportInChild(const ChildJob& job, int out);

} // namespace JetImport
