#pragma once

#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeInPlaceEditing.h"
#include "fakes/FakePins.h"
#include "fakes/FakePlatform.h"
#include "fakes/MemoryDefaults.h"
#include "session/CaptureSession.h"

namespace vellumix {

// Everything a capture session works with, faked: tests script the screens,
// answers and clock, and read what was grabbed, asked and shown.
struct FakeSessionServices {
    FakePlatform platform;
    MemoryDefaults defaults;
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    FakePins pins;
    FakeClock clock;
    FakeInPlaceEditing inPlace;

    CaptureSession::Services sessionServices() {
        return {platform.services(), EditorServices{defaults, dialogs, clipboard, pins}, inPlace,
                clock};
    }
};

} // namespace vellumix
