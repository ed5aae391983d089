#include "text/EngineCache.h"

#include "text/RecognitionLanguages.h"
#include "text/TextRecognitionError.h"

#include <tesseract/baseapi.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace vellumix::EngineCache {

namespace {

struct Store {
    std::mutex mutex;
    std::vector<Kept> engines;
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

} // namespace

Engines::Engines(QString directory)
    : m_directory(std::move(directory)),
      m_languages(RecognitionLanguages::preferredLanguages(
          RecognitionLanguages::supportedLanguages(m_directory))) {}

Engines::~Engines() = default;

tesseract::TessBaseAPI& Engines::engine(const QString& code) {
    const auto kept = m_engines.find(code);
    if (kept != m_engines.end()) {
        return *kept->second;
    }
    // With no language named, the engine's Init() loads no model at all yet
    // reports success, and Recognize() then crashes; naming its default makes
    // Init() fail cleanly when that is missing too.
    const QString name = RecognitionLanguages::engineLanguages({code});
    auto engine = std::make_unique<tesseract::TessBaseAPI>();
    if (engine->Init(m_directory.toLocal8Bit().constData(),
                     name.isEmpty() ? "eng" : name.toUtf8().constData(),
                     tesseract::OEM_LSTM_ONLY) != 0) {
        throw TextRecognitionError(TextRecognitionError::Kind::engineUnavailable);
    }
    return *m_engines.emplace(code, std::move(engine)).first->second;
}

void Engines::clear() {
    for (auto& [code, engine] : m_engines) {
        engine->Clear();
    }
}

Kept take(const QString& directory) {
    if (storeExists.load()) {
        Store& kept = store();
        const std::lock_guard lock(kept.mutex);
        for (auto it = kept.engines.begin(); it != kept.engines.end(); ++it) {
            if ((*it)->directory() == directory) {
                Kept engines = std::move(*it);
                kept.engines.erase(it);
                return engines;
            }
        }
    }
    return std::make_unique<Engines>(directory);
}

void giveBack(Kept engines) {
    engines->clear();
    Store& kept = store();
    storeExists.store(true);
    const std::lock_guard lock(kept.mutex);
    if (int(kept.engines.size()) >= keptEngines) {
        kept.engines.erase(kept.engines.begin());
    }
    kept.engines.push_back(std::move(engines));
}

} // namespace vellumix::EngineCache
