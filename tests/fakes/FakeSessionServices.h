#pragma once

#include "capture/Session.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeInPlaceEditing.h"
#include "fakes/FakePins.h"
#include "fakes/FakePlatform.h"
#include "fakes/MemoryDefaults.h"

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

    Session::Services sessionServices() {
        return {platform.services(), EditorServices{defaults, dialogs, clipboard, pins}, inPlace,
                clock};
    }
};

} // namespace vellumix
