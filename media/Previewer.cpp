#include "media/Previewer.h"

#include <mutex>

namespace media {
namespace {

std::mutex& FactoryLock() {
    static std::mutex m;
    return m;
}

TPreviewerFactory& Factory() {
    static TPreviewerFactory factory;
    return factory;
}

} // namespace

void SetPreviewerFactory(TPreviewerFactory AFactory) {
    std::lock_guard g(FactoryLock());
    Factory() = std::move(AFactory);
}

std::shared_ptr<TCustomPreviewer> NewPreviewer() {
    TPreviewerFactory factory;
    {
        std::lock_guard g(FactoryLock());
        factory = Factory();
    }
    return factory ? factory() : nullptr;
}

} // namespace media
