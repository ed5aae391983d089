#include "session/CaptureControlsView.h"

#include "platform/WindowKind.h"
#include "session/CaptureSession.h"
#include "ui/TextStyle.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleHints>
#include <QVBoxLayout>
#include <QWindow>

namespace vellumix {

const QString CaptureControlsView::Texts::title = QStringLiteral("Capture preview");
const QString CaptureControlsView::Texts::capturing =
    QStringLiteral("Scroll down in the original window");
const QString CaptureControlsView::Texts::paused = QStringLiteral("Capture paused");
const QString CaptureControlsView::Texts::showFull = QStringLiteral("Show full image");
const QString CaptureControlsView::Texts::showDetail = QStringLiteral("Show detail");
const QString CaptureControlsView::Texts::follow = QStringLiteral("Follow latest");
const QString CaptureControlsView::Texts::resume = QStringLiteral("Resume");
const QString CaptureControlsView::Texts::finish = QStringLiteral("Finish capture");
const QColor CaptureControlsView::capturingColor = QColor(52, 199, 89);
const QColor CaptureControlsView::pausedColor = QColor(255, 149, 0);

namespace {

QPainterPath outline(const QRectF& rect) {
    QPainterPath path;
    path.addRoundedRect(rect, CaptureControlsView::cornerRadius, CaptureControlsView::cornerRadius);
    return path;
}

QPushButton* button(const QString& text) {
    auto* result = new QPushButton(text);
    // The panel never takes the keyboard from the window being scrolled.
    result->setFocusPolicy(Qt::NoFocus);
    return result;
}

} // namespace

CaptureControlsView::CaptureControlsView(CaptureSession& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_translucent(windowkind::compositorActive()) {
    startMove = [this] {
        windowkind::startMove(this);
    };
    setAttribute(Qt::WA_TranslucentBackground, m_translucent);
    build();
    connect(&session, &CaptureSession::changed, this, &CaptureControlsView::refresh);
    refresh();
}

void CaptureControlsView::build() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addLayout(header());

    m_scroll = new QScrollArea;
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_picture = new QLabel;
    m_scroll->setWidget(m_picture);
    connect(m_scroll->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] {
        if (m_follow->isChecked()) {
            scrollToLatest();
        }
    });
    m_whole = new QLabel;
    m_whole->setAlignment(Qt::AlignCenter);
    m_whole->setMinimumSize(1, 1);
    m_whole->hide();
    layout->addWidget(m_scroll, 1);
    layout->addWidget(m_whole, 1);

    m_hint = textstyle::label(QString(), 13, QFont::Medium);
    m_detail = textstyle::label(QString(), 11, QFont::Normal);
    m_detail->setWordWrap(true);
    m_detail->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_detail->setStyleSheet(QStringLiteral("color: #5f5f66;"));
    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(m_hint);
    text->addWidget(m_detail, 1);
    auto* block = new QWidget;
    block->setLayout(text);
    block->setMinimumHeight(42);
    text->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(block);
    layout->addLayout(controls());
}

QLayout* CaptureControlsView::header() {
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    m_dot = new QWidget;
    m_dot->setFixedSize(7, 7);
    m_height = textstyle::label(QString(), 13, QFont::Normal);
    row->addWidget(m_dot);
    row->addWidget(textstyle::label(Texts::title, 14, QFont::DemiBold));
    row->addWidget(m_height);
    row->addStretch(1);
    return row;
}

QLayout* CaptureControlsView::controls() {
    m_overviewButton = button(Texts::showFull);
    m_overviewButton->setFlat(true);
    m_overviewButton->setStyleSheet(QStringLiteral("color: #0a64d6; text-align: left;"));
    connect(m_overviewButton, &QPushButton::clicked, this, [this] { setOverview(!m_overview); });
    m_follow = new QCheckBox(Texts::follow);
    m_follow->setFocusPolicy(Qt::NoFocus);
    m_follow->setChecked(true);
    connect(m_follow, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            scrollToLatest();
        }
    });
    m_resume = button(Texts::resume);
    connect(m_resume, &QPushButton::clicked, &m_session, &CaptureSession::resume);
    m_finish = button(Texts::finish);
    m_finish->setDefault(true);
    connect(m_finish, &QPushButton::clicked, &m_session,
            [this] { m_session.stop(CaptureSession::Texts::finished); });

    auto* options = new QHBoxLayout;
    options->addWidget(m_overviewButton);
    options->addStretch(1);
    options->addWidget(m_follow);
    auto* actions = new QHBoxLayout;
    actions->addStretch(1);
    actions->addWidget(m_resume);
    actions->addWidget(m_finish);
    auto* both = new QVBoxLayout;
    both->addLayout(options);
    both->addLayout(actions);
    return both;
}

QColor CaptureControlsView::dotColor() const {
    return m_session.paused() ? pausedColor : capturingColor;
}

void CaptureControlsView::refresh() {
    // What changes meanwhile shows when the panel does.
    if (m_isSeeThrough) {
        return;
    }
    m_height->setText(QStringLiteral("%1 px").arg(m_session.height()));
    m_hint->setText(m_session.paused() ? Texts::paused : Texts::capturing);
    m_detail->setText(m_session.detail());
    m_resume->setVisible(m_session.paused());
    if (m_session.height() != m_shownHeight) {
        m_shownHeight = m_session.height();
        showPicture();
    }
    update();
}

// Scaled here rather than by the label, so that the detail view keeps the
// picture's aspect at the area's width and scrolls along its height.
void CaptureControlsView::showPicture() {
    const QImage& preview = m_session.preview();
    if (preview.isNull()) {
        m_picture->clear();
        m_whole->clear();
        return;
    }
    const double ratio = devicePixelRatioF();
    if (m_overview) {
        QPixmap whole = QPixmap::fromImage(
            preview.scaled(m_whole->size() * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        whole.setDevicePixelRatio(ratio);
        m_whole->setPixmap(whole);
        return;
    }
    const int width = m_scroll->viewport()->width();
    QPixmap picture = QPixmap::fromImage(
        preview.scaledToWidth(std::max(1, int(width * ratio)), Qt::SmoothTransformation));
    picture.setDevicePixelRatio(ratio);
    m_picture->setPixmap(picture);
    m_picture->resize(picture.deviceIndependentSize().toSize());
}

void CaptureControlsView::setOverview(bool on) {
    m_overview = on;
    m_overviewButton->setText(on ? Texts::showDetail : Texts::showFull);
    m_scroll->setVisible(!on);
    m_whole->setVisible(on);
    showPicture();
}

void CaptureControlsView::scrollToLatest() {
    QScrollBar* bar = m_scroll->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void CaptureControlsView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_translucent) {
        setMask(QRegion(outline(rect()).toFillPolygon().toPolygon()));
    }
    showPicture();
}

void CaptureControlsView::setSeeThrough(bool on) {
    if (on == m_isSeeThrough) {
        return;
    }
    m_isSeeThrough = on;
    if (on) {
        for (QWidget* part : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (part->isVisibleTo(this)) {
                m_seeThrough.append(part);
                part->hide();
            }
        }
    } else {
        for (const QPointer<QWidget>& part : std::exchange(m_seeThrough, {})) {
            if (part != nullptr) {
                part->show();
            }
        }
        refresh();
        clickWhatWasHidden();
    }
    update();
}

// A click while the panel was see-through met its background; it was meant
// for the button that shows there again (Finish, mostly).
void CaptureControlsView::clickWhatWasHidden() {
    const std::optional<QPoint> at = std::exchange(m_clickedWhileSeeThrough, std::nullopt);
    if (auto* target = at ? qobject_cast<QAbstractButton*>(childAt(*at)) : nullptr) {
        target->click();
    }
}

void CaptureControlsView::paintEvent(QPaintEvent*) {
    if (m_isSeeThrough) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.fillPath(outline(area),
                     m_translucent ? QColor(246, 246, 248, 236) : QColor(246, 246, 248));
    painter.setPen(QPen(QColor(255, 255, 255, 51), 1));
    painter.drawPath(outline(area));
    painter.setPen(Qt::NoPen);
    painter.setBrush(dotColor());
    painter.drawEllipse(QRectF(m_dot->mapTo(this, QPoint(0, 0)), QSizeF(m_dot->size())));
}

// The panel is moved by dragging its background, like a title bar. The move
// starts only once the press has travelled: a window manager told to move on
// a press that ends at once goes on following the pointer until the next
// click.
void CaptureControlsView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressedAt = event->globalPosition();
        if (m_isSeeThrough) {
            m_clickedWhileSeeThrough = event->position().toPoint();
        }
    }
}

void CaptureControlsView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressedAt || !event->buttons().testFlag(Qt::LeftButton) ||
        (event->globalPosition() - *m_pressedAt).manhattanLength() <
            QGuiApplication::styleHints()->startDragDistance()) {
        return;
    }
    m_pressedAt.reset();
    startMove();
}

void CaptureControlsView::mouseReleaseEvent(QMouseEvent*) {
    m_pressedAt.reset();
}

} // namespace vellumix
