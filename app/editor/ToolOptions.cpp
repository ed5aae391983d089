#include "editor/ToolOptions.h"

#include "editor/EditorDocument.h"
#include "editor/EditorKeyMap.h"
#include "editor/EditorPreferences.h"
#include "editor/SymbolIcon.h"
#include "editor/ToolFamily.h"
#include "marks/ToolTraits.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vellumix {

namespace {

const QColor accent(0, 122, 255);

QIcon swatchIcon(const QColor& color, bool matches) {
    constexpr int side = ToolOptions::swatchSide * 2;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const double ring = matches ? 4 : 2;
    painter.setPen(QPen(matches ? accent : QColor(128, 128, 128, 77), ring));
    painter.setBrush(color);
    painter.drawEllipse(QRectF(ring / 2, ring / 2, side - ring, side - ring));
    return QIcon(pixmap);
}

QString number(double value) {
    return QString::number(value, 'g', 6);
}

} // namespace

const std::array<QColor, 5> ToolOptions::swatches = {QColor(0, 122, 255), QColor(255, 59, 48),
                                                     QColor(52, 199, 89), QColor(Qt::black),
                                                     QColor(Qt::white)};

ToolOptions::ToolOptions(EditorDocument& document, Defaults& defaults, const ToolFamily& family,
                         QWidget* parent)
    : QFrame(parent, Qt::Popup), m_document(document), m_defaults(defaults), m_family(family) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(width);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    const auto follow = [this](auto signal) {
        // Queued: a button of the popover may be what changed the document.
        connect(&m_document, signal, this, &ToolOptions::rebuild, Qt::QueuedConnection);
    };
    follow(&EditorDocument::stateChanged);
    follow(&EditorDocument::selectedChanged);
    follow(&EditorDocument::toolChanged);
    follow(&EditorDocument::colorChanged);
    follow(&EditorDocument::thicknessChanged);
    follow(&EditorDocument::fontSizeChanged);
    follow(&EditorDocument::cornerRadiusChanged);
    rebuild();
}

void ToolOptions::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    emit closed();
}

DrawingTool ToolOptions::activeTool() const {
    const std::optional<ImageMark> mark = m_document.activeMark();
    return mark ? mark->tool : m_document.tool();
}

void ToolOptions::rebuild() {
    delete m_content;
    m_content = new QWidget(this);
    layout()->addWidget(m_content);
    auto* rows = new QVBoxLayout(m_content);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(10);
    const DrawingTool tool = activeTool();
    const ToolTraits& traits = ToolTraits::of(tool);
    if (m_family.variants.size() > 1) {
        addVariants(rows);
    }
    addSwatches(rows);
    if (traits.text) {
        addFontSizes(rows);
    } else if (traits.width) {
        addWidths(rows, tool);
    }
    if (traits.corners) {
        addCorners(rows);
    }
    addMarkActions(rows, tool);
    adjustSize();
}

QAbstractButton* ToolOptions::addButton(QLayout* layout, const QString& symbol, const QString& hint,
                                        const QString& name, bool checked) {
    auto* button = new QToolButton(m_content);
    button->setIcon(SymbolIcon::icon(symbol));
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    button->setCheckable(true);
    button->setChecked(checked);
    button->setToolTip(hint);
    button->setAccessibleName(name);
    layout->addWidget(button);
    return button;
}

void ToolOptions::addVariants(QLayout* parent) {
    auto* row = new QHBoxLayout;
    const DrawingTool active = activeTool();
    for (const ToolVariant& variant : m_family.variants) {
        QAbstractButton* button =
            addButton(row, variant.symbol, variant.label, variant.label, variant.tool == active);
        connect(button, &QAbstractButton::clicked, this, [this, tool = variant.tool] {
            m_document.changeVariant(tool);
            m_family.remember(m_defaults, tool);
        });
    }
    row->addStretch();
    static_cast<QBoxLayout*>(parent)->addLayout(row);
}

void ToolOptions::addSwatches(QLayout* parent) {
    auto* row = new QHBoxLayout;
    for (const QColor& color : swatches) {
        auto* button = new QToolButton(m_content);
        const bool matches = m_document.matchesColor(color);
        button->setIcon(swatchIcon(color, matches));
        button->setIconSize(QSize(swatchSide, swatchSide));
        button->setAutoRaise(true);
        button->setAccessibleName(color.name());
        button->setProperty("matches", matches);
        connect(button, &QToolButton::clicked, this,
                [this, color] { m_document.changeColor(color); });
        row->addWidget(button);
    }
    row->addStretch();
    static_cast<QBoxLayout*>(parent)->addLayout(row);
}

double ToolOptions::currentFontSize() const {
    const std::optional<ImageMark> mark = m_document.activeMark();
    return mark && mark->fontSize ? *mark->fontSize : m_document.fontSize();
}

QVector<double> ToolOptions::offeredFontSizes() const {
    QVector<double> sizes(fontSizes.begin(), fontSizes.end());
    const double current = currentFontSize();
    if (!sizes.contains(current)) {
        sizes.append(current);
        std::sort(sizes.begin(), sizes.end());
    }
    return sizes;
}

void ToolOptions::addFontSizes(QLayout* parent) {
    auto* row = new QHBoxLayout;
    auto* picker = new QComboBox(m_content);
    picker->setAccessibleName(QStringLiteral("Font size"));
    picker->setToolTip(QStringLiteral("Font size, independent of stroke width"));
    for (double size : offeredFontSizes()) {
        picker->addItem(number(size), size);
    }
    picker->setCurrentIndex(picker->findData(currentFontSize()));
    connect(picker, &QComboBox::activated, this, [this, picker](int index) {
        m_document.changeFontSize(picker->itemData(index).toDouble());
    });
    auto* icon = new QToolButton(m_content);
    icon->setIcon(SymbolIcon::icon(QStringLiteral("textformat.size")));
    icon->setAutoRaise(true);
    icon->setEnabled(false);
    row->addWidget(icon);
    row->addWidget(picker, 1);
    static_cast<QBoxLayout*>(parent)->addLayout(row);
}

void ToolOptions::addWidths(QLayout* parent, DrawingTool tool) {
    auto* row = new QHBoxLayout;
    const QString hint = tool == DrawingTool::pixelate ? QStringLiteral("Block size ")
                                                       : QStringLiteral("Stroke width ");
    for (double width : EditorPreferences::thicknesses) {
        auto* button = new QToolButton(m_content);
        button->setText(number(width));
        button->setCheckable(true);
        button->setChecked(m_document.thickness() == width);
        button->setAutoRaise(true);
        button->setToolTip(hint + number(width));
        button->setAccessibleName(QStringLiteral("Width ") + number(width));
        connect(button, &QToolButton::clicked, this, [this, width] {
            m_document.setThickness(width);
            if (std::optional<ImageMark> mark = m_document.activeMark()) {
                mark->thickness = width;
                m_document.replaceSelected(std::move(*mark));
            }
        });
        row->addWidget(button);
    }
    row->addStretch();
    static_cast<QBoxLayout*>(parent)->addLayout(row);
}

void ToolOptions::addCorners(QLayout* parent) {
    auto* row = new QHBoxLayout;
    const struct {
        double radius;
        const char* symbol;
        const char* label;
    } corners[] = {{cornerRadii[0], "square", "Square corners"},
                   {cornerRadii[1], "rectangle.roundedtop", "Rounded corners"}};
    for (const auto& corner : corners) {
        const QString label = QString::fromUtf8(corner.label);
        QAbstractButton* button = addButton(row, QString::fromUtf8(corner.symbol), label, label,
                                            m_document.cornerRadius() == corner.radius);
        connect(button, &QAbstractButton::clicked, this, [this, radius = corner.radius] {
            m_document.setCornerRadius(radius);
            if (std::optional<ImageMark> mark = m_document.activeMark()) {
                mark->cornerRadius = radius;
                m_document.replaceSelected(std::move(*mark));
            }
        });
    }
    row->addStretch();
    static_cast<QBoxLayout*>(parent)->addLayout(row);
}

void ToolOptions::addMarkActions(QLayout* parent, DrawingTool tool) {
    if (!m_document.activeMark()) {
        return;
    }
    auto* row = new QHBoxLayout;
    if (ToolTraits::of(tool).text) {
        QAbstractButton* edit =
            addButton(row, QStringLiteral("pencil"), QStringLiteral("Edit text"),
                      QStringLiteral("Edit text"), false);
        edit->setCheckable(false);
        connect(edit, &QAbstractButton::clicked, this, [this] { m_document.editSelectedText(); });
    }
    const QString remove =
        EditorKeyMap::hint(QStringLiteral("Delete annotation"), EditorCommand::deleteSelected);
    QAbstractButton* trash = addButton(row, QStringLiteral("trash"), remove, remove, false);
    trash->setCheckable(false);
    connect(trash, &QAbstractButton::clicked, this, [this] { m_document.deleteSelected(); });
    row->addStretch();
    static_cast<QBoxLayout*>(parent)->addLayout(row);
}

} // namespace vellumix
