#include "platform/wayland/WaylandScreenSource.h"

#include "platform/PlatformError.h"
#include "platform/wayland/PipeWireStream.h"
#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/ScreenCastPortal.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <algorithm>

namespace vellumix {

namespace {

QString tokensKey(CastPointer pointer) {
    return pointer == CastPointer::hidden ? QStringLiteral("waylandScreenCastTokens")
                                          : QStringLiteral("waylandPointerCastTokens");
}
constexpr int startMilliseconds = 5'000;
constexpr int frameMilliseconds = 2'000;
constexpr int stillScreenMilliseconds = 150;
// How long after one of the app's windows went a cast's frames may still show
// it: a frame taken just before comes just after. Frames that come later than
// `castDelay` after are taken as new; a grab waits for one `castDelay` more.
constexpr std::chrono::milliseconds hiddenWindowLingers{1'000};
constexpr std::chrono::milliseconds castDelay{50};

// A desktop with as many monitors as this has not been seen; past it the
// casts it grants are not the display asked for.
constexpr int castsPerDisplayLimit = 4;

} // namespace

struct WaylandScreenSource::Cast {
    ScreenCast grant;
    std::unique_ptr<PipeWireStream> stream;
    QSize frameSize;
    QString display; // the display's name, once known
    QElapsedTimer lastUse;
    std::atomic<bool> waited = false; // for the first frame

    // By size: desktops give the monitor's size in points or in pixels, and
    // some give every monitor the position 0, 0.
    bool shows(const DisplayInfo& display) const {
        const QSize pixels = display.pixelRect().size();
        return frameSize == pixels && (!grant.size || *grant.size == pixels ||
                                       *grant.size == display.frame.size().toSize());
    }
};

WaylandScreenSource::WaylandScreenSource(Defaults& preferences, const QDBusConnection& bus,
                                         bool offered, CastPointer pointer)
    : m_preferences(preferences), m_bus(bus), m_pointer(pointer), m_tokensKey(tokensKey(pointer)),
      m_offered(offered), m_tokens(preferences.value(m_tokensKey).toMap()),
      m_copies(pointer == CastPointer::embedded) {
    m_idle.setInterval(idleMilliseconds / 3);
    QObject::connect(&m_idle, &QTimer::timeout, [this] { closeIdle(); });
    m_idle.start();
}

WaylandScreenSource::~WaylandScreenSource() {
    for (const std::shared_ptr<Cast>& cast : m_casts) {
        closePortalSession(m_bus, cast->grant.session);
    }
}

bool WaylandScreenSource::screenRecordingGranted() const {
    return m_offered && !m_refused;
}

QString WaylandScreenSource::howToGrant() const {
    if (!m_offered) {
        return QStringLiteral("This Wayland desktop offers no screen cast portal: install "
                              "xdg-desktop-portal and the backend for your desktop");
    }
    return QStringLiteral("The desktop did not allow Vellumix to record the screen: capture "
                          "again and allow it when the desktop asks");
}

QImage WaylandScreenSource::grabRegion(const DisplayInfo& display, const QRect& pixels) {
    const std::shared_ptr<Cast> cast = castOf(display);
    // The wlr backend sends a cast only the frames of a changing screen, so
    // over a still one a new cast may show nothing for long; the output as
    // it is now serves meanwhile, where the compositor copies outputs. Only
    // a cast's first grab waits a little for its first frame.
    const bool firstGrab = !cast->waited.exchange(true);
    const auto hidden = m_ownWindowHidden.load();
    if (std::chrono::steady_clock::now() - hidden < hiddenWindowLingers) {
        // The copy shows the output as it is now, without the window.
        if (m_copies.isOffered()) {
            return m_copies.copy(display.name, pixels);
        }
        // Elsewhere a frame taken after it, if one comes in time.
        cast->stream->hasFrame(QDeadlineTimer(hidden + 2 * castDelay), hidden + castDelay);
    }
    if (!cast->stream->hasFrame(QDeadlineTimer(firstGrab ? stillScreenMilliseconds : 0)) &&
        m_copies.isOffered()) {
        return m_copies.copy(display.name, pixels);
    }
    try {
        return cast->stream->read(pixels, QDeadlineTimer(frameMilliseconds));
    } catch (const PlatformError&) {
        // A broken cast is asked for anew by the next grab.
        std::lock_guard lock(m_mutex);
        std::erase(m_casts, cast);
        closePortalSession(m_bus, cast->grant.session);
        throw;
    }
}

void WaylandScreenSource::ownWindowHidden() {
    m_ownWindowHidden = std::chrono::steady_clock::now();
}

std::shared_ptr<WaylandScreenSource::Cast> WaylandScreenSource::castOf(const DisplayInfo& display) {
    if (std::shared_ptr<Cast> cast = openCastOf(display)) {
        return cast;
    }
    // One question to the desktop at a time; a grab that waited for another's
    // may find its display granted meanwhile.
    std::lock_guard asking(m_asking);
    if (std::shared_ptr<Cast> cast = openCastOf(display)) {
        return cast;
    }
    return open(display);
}

std::shared_ptr<WaylandScreenSource::Cast>
WaylandScreenSource::openCastOf(const DisplayInfo& display) {
    std::lock_guard lock(m_mutex);
    for (const std::shared_ptr<Cast>& cast : m_casts) {
        const bool ofDisplay =
            cast->display == display.name || (cast->display.isEmpty() && cast->shows(display));
        if (ofDisplay && cast->stream->isLive()) {
            cast->display = display.name;
            cast->lastUse.start();
            return cast;
        }
    }
    return nullptr;
}

// Asks for casts until one shows `display`: a desktop that lets the user pick
// may hand out another monitor first, which is kept for its own grabs.
std::shared_ptr<WaylandScreenSource::Cast> WaylandScreenSource::open(const DisplayInfo& display) {
    QString token = [this, &display] {
        std::lock_guard lock(m_mutex);
        return m_tokens.value(display.name).toString();
    }();
    for (int attempt = 0; attempt < castsPerDisplayLimit; ++attempt) {
        std::optional<ScreenCast> grant =
            openScreenCast(m_bus, std::exchange(token, QString()), m_pointer);
        if (!grant) {
            m_refused = true;
            throw PlatformError(howToGrant());
        }
        const std::shared_ptr<Cast> cast = started(*grant);
        std::lock_guard lock(m_mutex);
        m_casts.push_back(cast);
        if (cast->shows(display)) {
            cast->display = display.name;
            keepToken(display.name, cast->grant.restoreToken);
            return cast;
        }
    }
    throw PlatformError(
        QStringLiteral("The desktop did not offer the display %1 for recording").arg(display.name));
}

// The grant's stream, connected and of a known size; the desktop's session
// ends with it when it cannot start.
std::shared_ptr<WaylandScreenSource::Cast> WaylandScreenSource::started(const ScreenCast& grant) {
    auto cast = std::make_shared<Cast>();
    cast->grant = grant;
    try {
        cast->stream = std::make_unique<PipeWireStream>(grant.pipeWireFd, grant.node);
        cast->frameSize = cast->stream->frameSize(QDeadlineTimer(startMilliseconds));
    } catch (const PlatformError&) {
        closePortalSession(m_bus, grant.session);
        throw;
    }
    cast->lastUse.start();
    return cast;
}

// Called with m_mutex held, which also guards the preferences: they are the
// source's own store, read on the main thread only when it starts.
void WaylandScreenSource::keepToken(const QString& display, const QString& token) {
    if (token.isEmpty() || m_tokens.value(display) == token) {
        return;
    }
    m_tokens.insert(display, token);
    m_preferences.setValue(m_tokensKey, m_tokens);
}

void WaylandScreenSource::closeIdle() {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_casts, [this](const std::shared_ptr<Cast>& cast) {
        if (cast->lastUse.elapsed() < idleMilliseconds) {
            return false;
        }
        closePortalSession(m_bus, cast->grant.session);
        return true;
    });
}

} // namespace vellumix
