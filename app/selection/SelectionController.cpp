#include "selection/SelectionController.h"

#include "capture/CaptureService.h"
#include "imaging/DocumentError.h"
#include "platform/WindowKind.h"
#include "selection/HintPanel.h"
#include "selection/LastRegionRecord.h"
#include "selection/RegionOutcome.h"
#include "selection/WindowCandidates.h"
#include "selection/WindowsOutcome.h"

#include <QKeyEvent>
#include <QThreadPool>

namespace vellumix {

namespace {

// The hot key's passive grab holds the keyboard until the key is released, so
// the overlay's own grab is retried this often, for this long.
constexpr int grabRetryMilliseconds = 20;
constexpr int grabTries = 250;

bool holds(const QRectF& frame, QPointF point) {
    return point.x() >= frame.left() && point.x() < frame.right() && point.y() >= frame.top() &&
           point.y() < frame.bottom();
}

// The display under the pointer comes last, so its overlay is made last and
// ends up in front with the keyboard.
QList<DisplayInfo> inOpeningOrder(const QList<DisplayInfo>& displays, QPointF mouse) {
    QList<DisplayInfo> away;
    QList<DisplayInfo> under;
    for (const DisplayInfo& display : displays) {
        (holds(display.frame, mouse) ? under : away).append(display);
    }
    return away + under;
}

} // namespace

SelectionController::SelectionController(PlatformServices services, Defaults& defaults)
    : historyKey(lastRegionKey), m_services(services), m_defaults(defaults) {
    m_grabRetry.setSingleShot(true);
    m_grabRetry.setInterval(grabRetryMilliseconds);
    connect(&m_grabRetry, &QTimer::timeout, this, &SelectionController::grabKeyboard);
}

SelectionController::~SelectionController() {
    hide();
    qDeleteAll(m_spare);
}

QList<SelectionView*> SelectionController::views() const {
    QList<SelectionView*> views;
    for (const SelectionWindow* window : m_open) {
        views.append(window->view());
    }
    return views;
}

QFuture<void> SelectionController::begin(Callback callback, bool recording) {
    hide();
    const quint64 generation = ++m_generation;
    const QPointF mouse = m_services.displays.mouseLocation();
    QList<QFuture<FrozenDisplay>> freezes;
    QList<WindowInfo> windows;
    try {
        for (const DisplayInfo& display : inOpeningOrder(m_services.displays.displays(), mouse)) {
            freezes.append(freeze(display));
        }
        if (freezes.isEmpty()) {
            throw CaptureError(CaptureError::Kind::displayRemoved);
        }
        // Listed while the grabs run on worker threads.
        windows = windowcandidates::capturable(m_services.windows);
    } catch (...) {
        return QtFuture::makeExceptionalFuture<void>(std::current_exception());
    }
    return QtFuture::whenAll(freezes.begin(), freezes.end())
        .then(this, [this, generation, callback, windows, mouse,
                     recording](const QList<QFuture<FrozenDisplay>>& done) {
            QList<FrozenDisplay> frozen;
            for (QFuture<FrozenDisplay> display : done) {
                frozen.append(display.result()); // rethrows a failed grab
            }
            if (generation == m_generation) {
                m_callback = callback;
                open(frozen, windows, mouse);
                setRecording(recording);
            }
        });
}

QFuture<FrozenDisplay> SelectionController::freeze(const DisplayInfo& display) {
    const QSizeF size = display.size();
    if (size.width() * size.height() * display.scale * display.scale >
        double(maximumDisplayPixels)) {
        throw DocumentError(DocumentError::Kind::render);
    }
    const CaptureRegion whole{display.id, QRectF(QPointF(0, 0), size), display.scale};
    // Made at once; fails when the display has gone.
    std::shared_ptr<CaptureService> service = CaptureService::create(whole, m_services).result();
    return service->frame().then(
        QThreadPool::globalInstance(),
        [display, service](const QImage& image) { return FrozenDisplay::prepare(display, image); });
}

void SelectionController::open(const QList<FrozenDisplay>& frozen, const QList<WindowInfo>& windows,
                               QPointF mouse) {
    const LastRegionRecord record(m_defaults, historyKey);
    for (const FrozenDisplay& display : frozen) {
        auto* view = new SelectionView(display, windowcandidates::on(display.display, windows),
                                       mouse - display.display.frame.topLeft());
        view->setLastRegion(record.region(display.display), record.allowsScroll());
        view->setHooks(hooksFor(view));
        SelectionWindow* window = windowFor(display.display);
        m_open.append(window);
        window->open(view);
    }
    // Windows kept for displays that are gone or changed are of no more use.
    qDeleteAll(m_spare);
    m_spare.clear();
    pointerEntered(m_open.last()->view());
    m_grabTries = 0;
    grabKeyboard();
}

SelectionWindow* SelectionController::windowFor(const DisplayInfo& display) {
    for (qsizetype i = 0; i < m_spare.size(); ++i) {
        if (m_spare[i]->fits(display)) {
            return m_spare.takeAt(i);
        }
    }
    return new SelectionWindow(display, m_services.overlays);
}

SelectionView::Hooks SelectionController::hooksFor(SelectionView* view) {
    SelectionView::Hooks hooks;
    hooks.finished = [this, view](std::optional<QRectF> rect, bool allowsScroll) {
        finished(view, rect, allowsScroll);
    };
    hooks.colorPicked = [this](const QString& hex) {
        hide();
        deliver(ColorChoice{hex});
    };
    hooks.windowsPicked = [this, view](const QList<WindowCandidate>& windows) {
        windowsPicked(view, windows);
    };
    hooks.toggleAllowed = [this, view] {
        return toggleAllowed(view);
    };
    hooks.pointerEntered = [this](SelectionView* entered) {
        pointerEntered(entered);
    };
    hooks.keyPressed = [this, view](QKeyEvent* event) {
        (m_keyView ? m_keyView.data() : view)->handleKey(event);
    };
    hooks.recordToggled = [this] {
        setRecording(!m_recording);
    };
    return hooks;
}

void SelectionController::finished(SelectionView* view, std::optional<QRectF> rect,
                                   bool allowsScroll) {
    if (!rect) {
        hide();
        deliver(CancelChoice{});
        return;
    }
    const DisplayInfo& display = view->frozen().display;
    if (m_recording) {
        hide();
        deliver(RecordChoice{{display.id, QRectF(integralRect(*rect)), display.scale}});
        return;
    }
    LastRegionRecord record(m_defaults, historyKey);
    CaptureChoice choice =
        resolveRegionOutcome(display, view->frozen().image, *rect, allowsScroll, record);
    // Kept only where an editor over the region has to show it: it holds a
    // whole display for as long as the capture lasts.
    auto* region = std::get_if<RegionChoice>(&choice);
    if (region != nullptr && m_services.overlays.hidesWhatIsBeneath()) {
        region->backdrop = view->frozen().dimmed;
    }
    hide();
    deliver(std::move(choice));
}

void SelectionController::windowsPicked(SelectionView* view,
                                        const QList<WindowCandidate>& windows) {
    const FrozenDisplay frozen = view->frozen();
    // Hidden first: the windows are read with the overlay gone.
    hide();
    if (m_recording) {
        QRectF frame;
        for (const WindowCandidate& window : windows) {
            frame |= window.rect;
        }
        frame &= QRectF(QPointF(), frozen.display.size());
        deliver(
            RecordChoice{{frozen.display.id, QRectF(integralRect(frame)), frozen.display.scale}});
        return;
    }
    deliver(resolveWindowsOutcome(frozen, windows, m_services.windows));
}

bool SelectionController::toggleAllowed(const SelectionView* asking) const {
    for (const SelectionView* view : views()) {
        if (view != asking && !view->chosen().isEmpty()) {
            return false;
        }
    }
    return true;
}

void SelectionController::pointerEntered(SelectionView* view) {
    m_keyView = view;
    view->window()->activateWindow();
    view->setFocus();
}

void SelectionController::grabKeyboard() {
    if (!m_keyView || m_grabTries >= grabTries) {
        return;
    }
    ++m_grabTries;
    if (!windowkind::grabKeyboard(m_keyView->window())) {
        m_grabRetry.start();
    }
}

void SelectionController::setRecording(bool recording) {
    m_recording = recording;
    for (SelectionView* view : views()) {
        view->setNote(recording ? hintpanel::recordNote : QString());
    }
}

void SelectionController::hide() {
    m_grabRetry.stop();
    for (SelectionWindow* window : std::as_const(m_open)) {
        window->close();
    }
    m_spare += m_open;
    m_open.clear();
    m_keyView = nullptr;
}

void SelectionController::deliver(CaptureChoice choice) {
    // Taken out first: one begin delivers at most one outcome, and the
    // callback may begin again.
    const Callback callback = std::exchange(m_callback, nullptr);
    if (callback) {
        callback(std::move(choice));
    }
}

} // namespace vellumix
