#pragma once

#include <QString>

#include <functional>
#include <memory>

// Tells the user that opening a dictionary takes a while. The window layer installs a factory;
// the data layer makes one indicator for each opening that reports progress and drops it when
// the opening ends, whatever its outcome.
class OpenProgress {
public:
    virtual ~OpenProgress() = default;
    // How far the reading has come, 0 to 1; called about every 100 ms.
    virtual void Update(double fraction) = 0;
};

using OpenProgressFactory = std::function<std::unique_ptr<OpenProgress>(const QString& path)>;

// Installs the factory; an empty one shows nothing (the tests, the command-line tools).
void SetOpenProgressFactory(OpenProgressFactory factory);
// An indicator for opening `path`, or null without a factory.
std::unique_ptr<OpenProgress> MakeOpenProgress(const QString& path);
