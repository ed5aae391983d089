#include "text/EngineCache.h"

#include "text/RecognitionLanguages.h"
#include "text/TextRecognitionError.h"

#include <tesseract/baseapi.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace vellumix::EngineCache {

namespace {

struct KeptEngine {
    QString directory;
    Engine engine;
};

struct Store {
    std::mutex mutex;
    std::vector<KeptEngine> engines;
};

// Objects with static storage die in reverse order of construction, and kept
// engines must die before the engine's own caches of language data, which
// their first Init() made. So the store is first touched by giveBack(), always
// after a load, and take() looks into it only once it exists.
Store& store() {
    static Store instance;
    return instance;
}

std::atomic<bool> storeExists{false};

Engine load(const QString& directory) {
    const QByteArray languages = RecognitionLanguages::installedEngineLanguages(directory);
    Engine engine = std::make_unique<tesseract::TessBaseAPI>();
    if (engine->Init(directory.toLocal8Bit().constData(), languages.constData(),
                     tesseract::OEM_LSTM_ONLY) != 0) {
        throw TextRecognitionError(TextRecognitionError::Kind::engineUnavailable);
    }
    return engine;
}

} // namespace

Engine take(const QString& directory) {
    if (storeExists.load()) {
        Store& kept = store();
        const std::lock_guard lock(kept.mutex);
        for (auto it = kept.engines.begin(); it != kept.engines.end(); ++it) {
            if (it->directory == directory) {
                Engine engine = std::move(it->engine);
                kept.engines.erase(it);
                return engine;
            }
        }
    }
    return load(directory);
}

void giveBack(Engine engine, const QString& directory) {
    engine->Clear();
    Store& kept = store();
    storeExists.store(true);
    const std::lock_guard lock(kept.mutex);
    if (int(kept.engines.size()) >= keptEngines) {
        kept.engines.erase(kept.engines.begin());
    }
    kept.engines.push_back({directory, std::move(engine)});
}

} // namespace vellumix::EngineCache
