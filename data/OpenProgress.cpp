#include "data/OpenProgress.h"

namespace {
OpenProgressFactory& Factory() {
    static OpenProgressFactory factory;
    return factory;
}
} // namespace

void SetOpenProgressFactory(OpenProgressFactory factory) {
    Factory() = std::move(factory);
}

std::unique_ptr<OpenProgress> MakeOpenProgress(const QString& path) {
    return Factory() ? Factory()(path) : nullptr;
}
