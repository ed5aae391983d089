#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace tesseract {
class TessBaseAPI;
}

namespace vellumix {

// Loaded engines, kept for the next recognition. Loading English and both
// Chinese models costs about 0.65 s of CPU, a quarter of reading a typical
// screenshot, and it is the one step a cancellation cannot interrupt. An
// engine is used by one recognition at a time: take() hands it out, giveBack()
// returns it.
namespace EngineCache {

using Engine = std::unique_ptr<tesseract::TessBaseAPI>;

// How many idle engines are kept; further ones are released when given back.
inline constexpr int keptEngines = 1;

// An engine that has loaded `languages` (the engine's "eng+chi_sim" form) from
// `directory`: a kept one if there is one, else a newly loaded one. Throws
// TextRecognitionError when the languages cannot be loaded.
Engine take(const QString& directory, const QByteArray& languages);

// Clears the engine's image and results and keeps it for take().
void giveBack(Engine engine, const QString& directory, const QByteArray& languages);

} // namespace EngineCache
} // namespace vellumix
