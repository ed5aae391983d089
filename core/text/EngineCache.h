#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace tesseract {
class TessBaseAPI;
}

namespace vellumix {

// Loaded engines, kept for the next recognition. Loading a language costs
// about a fifth of a second of CPU and is the one step a cancellation cannot
// interrupt. The engines of one data folder travel together as Engines, used
// by one recognition at a time: take() hands them out, giveBack() returns
// them.
namespace EngineCache {

// One engine per language, each loaded when first asked for, so that an
// English screenshot never pays for the Chinese models.
class Engines final {
public:
    explicit Engines(QString directory);
    ~Engines();
    Engines(const Engines&) = delete;
    Engines& operator=(const Engines&) = delete;

    // The preferred languages installed when these engines were made.
    const QStringList& languages() const { return m_languages; }
    const QString& directory() const { return m_directory; }
    // The engine of `code`, one of languages(), or of the engine's default
    // language when `code` is empty. Throws TextRecognitionError when it
    // cannot be loaded.
    tesseract::TessBaseAPI& engine(const QString& code);
    // Clears every engine's image and results.
    void clear();

private:
    QString m_directory;
    QStringList m_languages;
    std::map<QString, std::unique_ptr<tesseract::TessBaseAPI>> m_engines;
};

using Kept = std::unique_ptr<Engines>;

// How many idle sets of engines are kept; further ones are released when
// given back.
inline constexpr int keptEngines = 1;

// The engines of `directory`: a kept set if there is one, else a new one,
// which looks up the languages installed there.
Kept take(const QString& directory);

// Clears the engines and keeps them for take().
void giveBack(Kept engines);

} // namespace EngineCache
} // namespace vellumix
