#include "editor/ScreenshotEditor.h"

#include "editor/CanvasView.h"
#include "editor/EditorKeyHandler.h"
#include "editor/SymbolIcon.h"
#include "ui/ShortcutHint.h"

#include <QComboBox>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vellumix {

namespace {

const struct {
    const char* label;
    double zoom;
} zooms[] = {{"Fit width", 1}, {"50%", 0.5}, {"200%", 2}};

} // namespace

ScreenshotEditor::ScreenshotEditor(EditorDocument& document, EditorServices services,
                                   EditorActions actions, QWidget* parent)
    : QWidget(parent), m_document(document),
      m_toolbar(new CompactToolbar(document, services, std::move(actions), m_hints, this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 0);
    column->addWidget(m_toolbar, 0, Qt::AlignLeft);
    column->addWidget(makeHeader());
    m_canvas = new CanvasView(document);
    auto* frame = new QWidget;
    frame->setObjectName(QStringLiteral("canvasFrame"));
    frame->setStyleSheet(QStringLiteral("#canvasFrame { border: 1px solid palette(text); }"));
    auto* shadow = new QGraphicsDropShadowEffect(frame);
    shadow->setColor(QColor(0, 0, 0, 31));
    shadow->setBlurRadius(12);
    shadow->setOffset(0, 2);
    frame->setGraphicsEffect(shadow);
    auto* framing = new QVBoxLayout(frame);
    framing->setContentsMargins(canvasBorder, canvasBorder, canvasBorder, canvasBorder);
    framing->addWidget(m_canvas);
    auto* page = new QWidget;
    auto* padding = new QVBoxLayout(page);
    padding->setContentsMargins(canvasPadding, canvasPadding, canvasPadding, canvasPadding);
    padding->addWidget(frame, 0, Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(page);
    m_scroll->setWidgetResizable(true);
    m_scroll->setAlignment(Qt::AlignCenter);
    column->addWidget(m_scroll, 1);
    connect(&document, &EditorDocument::zoomChanged, this, &ScreenshotEditor::fit);
    connect(&document, &EditorDocument::stateChanged, this, &ScreenshotEditor::fit);
    connect(&document, &EditorDocument::messageChanged, m_message, &QLabel::setText);
    m_keys = std::make_unique<EditorKeyHandler>(this, *m_toolbar, *m_canvas, m_hints);
    fit();
}

ScreenshotEditor::~ScreenshotEditor() = default;

QWidget* ScreenshotEditor::makeHeader() {
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(4, 0, 4, 0);
    auto* title = new QLabel(QStringLiteral("Edit screenshot"), header);
    QFont medium = title->font();
    medium.setPixelSize(12);
    medium.setWeight(QFont::Medium);
    title->setFont(medium);
    m_size = new QLabel(header);
    m_size->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), medium.pointSize()));
    m_size->setForegroundRole(QPalette::PlaceholderText);
    m_message = new QLabel(m_document.message(), header);
    m_message->setForegroundRole(QPalette::PlaceholderText);
    m_zoom = new QComboBox(header);
    for (const auto& zoom : zooms) {
        m_zoom->addItem(QString::fromUtf8(zoom.label), zoom.zoom);
    }
    m_zoom->setCurrentIndex(std::max(0, m_zoom->findData(m_document.zoom())));
    connect(m_zoom, &QComboBox::activated, this,
            [this](int index) { m_document.setZoom(m_zoom->itemData(index).toDouble()); });
    auto* pin = new QToolButton(header);
    pin->setIcon(SymbolIcon::icon(QStringLiteral("pin")));
    pin->setText(QStringLiteral("Pin image"));
    pin->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    pin->setAccessibleName(QStringLiteral("Pin image"));
    pin->setFocusPolicy(Qt::NoFocus);
    new ShortcutHint(pin, EditorKeyMap::hint(QStringLiteral("Pin image"), EditorCommand::pin),
                     m_hints);
    connect(pin, &QToolButton::clicked, &m_document, &EditorDocument::pin);
    row->addWidget(title);
    row->addWidget(m_size);
    row->addWidget(m_message, 1);
    row->addWidget(m_zoom);
    row->addWidget(pin);
    return header;
}

double ScreenshotEditor::canvasScale(double availableWidth, double visibleWidth, double zoom) {
    const double fitted =
        visibleWidth > 0 ? (availableWidth - 2 * canvasPadding) / visibleWidth : 1;
    const double scale = std::min(fitted, 1.0) * zoom;
    return std::isfinite(scale) ? std::max(scale, 0.01) : 0.01;
}

void ScreenshotEditor::fit() {
    const QRectF area = m_document.visibleArea();
    m_size->setText(
        QStringLiteral("%1 × %2").arg(std::lround(area.width())).arg(std::lround(area.height())));
    m_zoom->setCurrentIndex(std::max(0, m_zoom->findData(m_document.zoom())));
    // From the editor's own width, as the scroll area's is stale until the
    // layout has run: less the scroll area's frame, the canvas's border and
    // room for a vertical scroller, which a picture taller than the window
    // brings; otherwise "Fit width" would overflow into a horizontal one.
    const QMargins margins = layout()->contentsMargins();
    const int scroller = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll);
    const double available = width() - margins.left() - margins.right() -
                             2 * (m_scroll->frameWidth() + canvasBorder) - scroller;
    m_canvas->setScale(canvasScale(available, area.width(), m_document.zoom()));
}

void ScreenshotEditor::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fit();
}

} // namespace vellumix
