#include "editor/EditingOverlay.h"

#include "editor/CanvasView.h"
#include "editor/EditorKeyHandler.h"
#include "editor/InPlaceLayout.h"
#include "editor/SymbolIcon.h"
#include "layout/FloatingLayout.h"
#include "platform/WindowKind.h"
#include "ui/ShortcutHint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>

#include <cmath>

namespace vellumix {

namespace {

const QColor strokeColor(0, 122, 255);

QRect centredAt(QPointF centre, QSize size) {
    return QRect(QPoint(int(std::lround(centre.x() - size.width() / 2.0)),
                        int(std::lround(centre.y() - size.height() / 2.0))),
                 size);
}

QToolButton* roundButton(QWidget* parent, const char* symbol, const QString& name) {
    auto* button = new QToolButton(parent);
    button->setIcon(SymbolIcon::icon(QString::fromUtf8(symbol)));
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(name);
    return button;
}

} // namespace

EditingOverlay::EditingOverlay(EditorDocument& document, const CaptureRegion& region,
                               QScreen* screen, EditorServices services, EditorActions actions,
                               QImage backdrop)
    : m_document(document), m_region(region), m_backdrop(std::move(backdrop)),
      m_dims(m_backdrop.isNull() && windowkind::compositorActive() &&
             !windowkind::editorSharesTheDesktop()) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    if (windowkind::compositorActive()) {
        setAttribute(Qt::WA_TranslucentBackground);
    }
    setScreen(screen);
    setGeometry(screen->geometry());
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setStyleSheet(QStringLiteral("QScrollArea { background: white; }"));
    m_canvas = new CanvasView(document);
    // One device pixel per image pixel, whatever scale the region was taken at.
    m_canvas->setScale(1 / screen->devicePixelRatio());
    m_scroll->setWidget(m_canvas);
    std::function<void()> expand = std::move(actions.expand);
    m_toolbar = new CompactToolbar(document, services, std::move(actions), m_hints, this);
    m_buttons = makeButtons(std::move(expand));
    m_caption = new QLabel(this);
    m_caption->setStyleSheet(QStringLiteral("QLabel { background: palette(window); padding: 10px;"
                                            " border-radius: 8px; }"));
    connect(&document, &EditorDocument::stateChanged, this, &EditingOverlay::layOut);
    connect(&document, &EditorDocument::messageChanged, this, &EditingOverlay::showMessage);
    m_keys = std::make_unique<EditorKeyHandler>(this, *m_toolbar, *m_canvas, m_hints);
    showMessage(document.message());
}

EditingOverlay::~EditingOverlay() = default;

QWidget* EditingOverlay::makeButtons(std::function<void()> expand) {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("inPlaceButtons"));
    panel->setStyleSheet(QStringLiteral("#inPlaceButtons { background: palette(window);"
                                        " border-radius: 10px; }"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(8);
    QToolButton* pin = roundButton(panel, "pin", QStringLiteral("Pin image"));
    new ShortcutHint(pin, EditorKeyMap::hint(QStringLiteral("Pin image"), EditorCommand::pin),
                     m_hints);
    connect(pin, &QToolButton::clicked, &m_document, &EditorDocument::pin);
    QToolButton* grow =
        roundButton(panel, "arrow.up.left.and.arrow.down.right", QStringLiteral("Expand editor"));
    new ShortcutHint(grow, QStringLiteral("Open in a larger editor window"), m_hints);
    connect(grow, &QToolButton::clicked, this, [expand = std::move(expand)] { expand(); });
    row->addWidget(pin);
    row->addWidget(grow);
    return panel;
}

void EditingOverlay::showMessage(const QString& message) {
    m_caption->setText(message);
    m_caption->setVisible(InPlaceLayout::showsCaption(message));
    layOut();
}

void EditingOverlay::layOut() {
    const QSizeF screen = size();
    m_viewport =
        FloatingLayout::croppedViewport(m_region.rect, m_document.visibleArea(), m_region.scale);
    m_scroll->setGeometry(m_viewport.toAlignedRect());
    const QPointF toolbarCentre = InPlaceLayout::toolbarCenter(m_viewport, screen);
    m_toolbar->ensurePolished();
    m_buttons->ensurePolished();
    const int toolbarWidth =
        std::min(m_toolbar->sizeHint().width(), int(InPlaceLayout::toolbarWidth(screen)));
    m_toolbar->setGeometry(
        centredAt(toolbarCentre, QSize(toolbarWidth, m_toolbar->sizeHint().height())));
    m_buttons->setGeometry(
        centredAt(InPlaceLayout::buttonsCenter(m_viewport, screen), m_buttons->sizeHint()));
    // Polished first: the style sheet's padding is part of the size, and
    // the mask is cut to these geometries.
    m_caption->ensurePolished();
    m_caption->setGeometry(
        centredAt(InPlaceLayout::captionCenter(toolbarCentre), m_caption->sizeHint()));
    if (!takesAllInput()) {
        const int stroke = int(std::ceil(strokeWidth));
        QRegion shown(m_viewport.toAlignedRect().adjusted(-stroke, -stroke, stroke, stroke));
        for (const QWidget* part :
             std::initializer_list<const QWidget*>{m_toolbar, m_buttons, m_caption}) {
            if (part->isVisibleTo(this)) {
                shown += part->geometry();
            }
        }
        setMask(shown);
    }
    update();
}

void EditingOverlay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void EditingOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_backdrop.isNull()) {
        painter.drawImage(rect(), m_backdrop);
    }
    if (m_dims) {
        for (const QRectF& dim : InPlaceLayout::dimming(m_viewport, size())) {
            painter.fillRect(dim, QColor::fromRgbF(0, 0, 0, InPlaceLayout::dimOpacity));
        }
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(strokeColor, strokeWidth));
    const double half = strokeWidth / 2;
    painter.drawRect(m_viewport.adjusted(-half, -half, half, half));
}

} // namespace vellumix
