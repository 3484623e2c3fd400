// Writes a dictionary as StarDict files or as a dictd database.
#include "export/ExportCommand.h"

#include <QCoreApplication>
#include <atomic>
#include <csignal>

namespace {

volatile std::sig_atomic_t interruptRequested = 0;

void RequestInterrupt(int) {
    interruptRequested = 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // An interrupted export removes what it has written so far instead of leaving it half done.
    std::signal(SIGINT, RequestInterrupt);
    std::signal(SIGTERM, RequestInterrupt);
    return RunExportCommand(app.arguments(), QCoreApplication::applicationDirPath(), stdout, stderr,
                            [] { return interruptRequested != 0; });
}
