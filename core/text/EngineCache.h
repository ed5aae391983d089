#pragma once

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

// An engine that has loaded the preferred languages installed in `directory`:
// a kept one if there is one, else a newly loaded one. Only loading looks for
// the installed languages, so a kept engine reads the ones that were there
// when it was loaded. Throws TextRecognitionError when they cannot be loaded.
Engine take(const QString& directory);

// Clears the engine's image and results and keeps it for take().
void giveBack(Engine engine, const QString& directory);

} // namespace EngineCache
} // namespace vellumix
