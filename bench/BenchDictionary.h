#pragma once

#include <QString>
#include <functional>

// A large synthetic dictionary in our format for measuring the data layer. The content is
// generated from a fixed seed, so every build produces the same file: abbreviations of two to
// eight letters and digits with the occasional "-", "/" or "&", spelled-out forms made of
// English-like words that match the letters, eight categories, descriptions with markup and
// references, related words and some web addresses.
namespace BenchDictionary {

inline constexpr int kDefaultCount = 1000000;
inline constexpr int kCategoryCount = 8;

// Called now and then while writing, with the number of entries generated so far.
using Progress = std::function<void(int done, int total)>;

// Writes count entries to path through DictionaryWriter, which moves the file into place only
// when it is complete. Returns false and fills error on failure.
bool Generate(const QString& path, int count, QString* error, const Progress& progress = {});

// True when path holds a finished dictionary of this generator with count entries, built with
// the indexes the program currently creates (so a changed index set causes a rebuild).
bool IsComplete(const QString& path, int count);

// Generates the dictionary at path unless a complete one is there, reporting progress on the
// error output; returns whether the dictionary is ready. The benchmarks call it once.
bool EnsureGenerated(const QString& path, int count);

// The program opens "ABBR.MDB" in its own directory: returns a directory under dataDir named
// name that holds a link of that name to the dictionary at path.
QString ProgramDirFor(const QString& path, const QString& dataDir, const QString& name);

// Where the benchmarks keep what they generate, and the million-entry dictionary they share.
QString DataDir();
QString LargeDictionaryPath();
// Generates the shared dictionary on first use; whether it is ready.
bool EnsureLargeDictionary();

} // namespace BenchDictionary
