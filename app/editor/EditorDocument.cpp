#include "editor/EditorDocument.h"

#include "api/OutputFile.h"
#include "editor/EditorKeyMap.h"
#include "editor/EditorPreferences.h"
#include "editor/StepNumber.h"
#include "imaging/DocumentError.h"
#include "imaging/EditedImage.h"
#include "marks/ToolTraits.h"
#include "pins/PinService.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QTextBoundaryFinder>

#include <cmath>

namespace vellumix {

namespace {

const QString textLengthMessage = QStringLiteral("Enter 1–200 characters");
constexpr double jpegQuality = 0.9;
constexpr double calloutReach = 260;
constexpr double calloutDrop = 100;
constexpr double colorTolerance = 0.002;
// Far beyond any useful block; keeps the conversion to int defined.
constexpr double largestBlock = 4096;

QString described(const QString& prefix, const std::exception& error) {
    return prefix + QString::fromUtf8(error.what());
}

// The rectangle spanned by two points, widened outward to whole pixels.
QRectF integralSpan(QPointF a, QPointF b) {
    const double left = std::floor(std::min(a.x(), b.x()));
    const double top = std::floor(std::min(a.y(), b.y()));
    const double right = std::ceil(std::max(a.x(), b.x()));
    const double bottom = std::ceil(std::max(a.y(), b.y()));
    return QRectF(left, top, right - left, bottom - top);
}

int blockSize(double thickness) {
    const double block = std::floor(thickness * 4);
    return block >= 0 ? int(std::min(block, largestBlock)) : 0;
}

int graphemeCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0) {
        ++count;
    }
    return count;
}

} // namespace

EditorDocument::EditorDocument(QImage source, double sourceScale, bool requiresSave,
                               bool confirmBeforeDiscard, EditorServices services, QObject* parent)
    : QObject(parent), m_source(std::move(source)), m_sourceScale(sourceScale),
      m_confirmBeforeDiscard(confirmBeforeDiscard), m_services(services),
      m_unsavedChanges(requiresSave),
      m_message(QStringLiteral("Drag to annotate · ") +
                EditorKeyMap::chordOf(EditorCommand::undo).shown + QStringLiteral(" to undo")) {
    restorePreferences();
}

void EditorDocument::restorePreferences() {
    const Defaults& defaults = m_services.defaults;
    m_color = EditorPreferences::color(defaults).value_or(m_color);
    m_fontSize = EditorPreferences::fontSize(defaults).value_or(m_fontSize);
    m_thickness = EditorPreferences::thickness(defaults).value_or(m_thickness);
    m_format = EditorPreferences::format(defaults).value_or(m_format);
}

QRectF EditorDocument::visibleArea() const {
    return m_state.crop.value_or(QRectF(m_source.rect()));
}

void EditorDocument::setTool(DrawingTool tool) {
    if (tool != m_tool) {
        m_tool = tool;
        emit toolChanged(tool);
    }
}

void EditorDocument::setSelected(std::optional<int> index) {
    if (index != m_selected) {
        m_selected = index;
        emit selectedChanged();
    }
}

void EditorDocument::setCornerRadius(double radius) {
    m_cornerRadius = radius;
    emit cornerRadiusChanged(radius);
}

void EditorDocument::setFormat(const QString& format) {
    m_format = format;
    m_services.defaults.setValue(EditorPreferences::formatKey, format);
    emit formatChanged(format);
}

void EditorDocument::setColor(const QColor& color) {
    m_color = color;
    EditorPreferences::storeColor(m_services.defaults, color);
    emit colorChanged(color);
}

void EditorDocument::setThickness(double thickness) {
    m_thickness = thickness;
    m_services.defaults.setValue(EditorPreferences::thicknessKey, thickness);
    emit thicknessChanged(thickness);
}

void EditorDocument::setMessage(const QString& message) {
    m_message = message;
    emit messageChanged(message);
}

void EditorDocument::setZoom(double zoom) {
    m_zoom = zoom;
    emit zoomChanged(zoom);
}

bool EditorDocument::validSelection() const {
    return m_selected && *m_selected >= 0 && *m_selected < m_state.marks.size();
}

std::optional<ImageMark> EditorDocument::activeMark() const {
    if (!validSelection()) {
        return std::nullopt;
    }
    return m_state.marks[*m_selected];
}

bool EditorDocument::hasEdits() const {
    return !m_state.marks.isEmpty() || m_state.crop.has_value();
}

void EditorDocument::record() {
    m_history.append(m_state);
    m_future.clear();
}

void EditorDocument::setState(State state) {
    m_state = std::move(state);
    emit stateChanged();
}

void EditorDocument::setUnsavedChanges(bool unsaved) {
    if (unsaved != m_unsavedChanges) {
        m_unsavedChanges = unsaved;
        emit unsavedChangesChanged(unsaved);
    }
}

QRectF EditorDocument::spannedArea(const ImageMark& mark) const {
    const QPointF first = mark.points.front();
    const QPointF last = mark.points.back();
    for (double v : {first.x(), first.y(), last.x(), last.y()}) {
        if (!std::isfinite(v)) {
            return QRectF();
        }
    }
    return integralSpan(first, last).intersected(visibleArea());
}

bool EditorDocument::bakePixelation(ImageMark& mark, const QVector<ImageMark>& beneath,
                                    double thickness, const QString& failure) {
    const QRectF area = spannedArea(mark);
    if (area.width() < minimumPixelateSide || area.height() < minimumPixelateSide) {
        return false;
    }
    try {
        const QImage picture = EditedImage::render(m_source, beneath, area);
        mark.bitmap = EditedImage::pixelated(picture, blockSize(thickness));
    } catch (const std::exception& error) {
        setMessage(described(failure, error));
        return false;
    }
    mark.points = {area.topLeft(), area.bottomRight()};
    return true;
}

void EditorDocument::commit(ImageMark mark) {
    const bool hasPoints = !mark.points.isEmpty();
    if (mark.tool == DrawingTool::pixelate && hasPoints &&
        !bakePixelation(mark, m_state.marks, m_thickness, QStringLiteral("Pixelation failed: "))) {
        return;
    }
    State next = m_state;
    if (mark.tool == DrawingTool::crop && hasPoints) {
        // Checked before anything is recorded, so a refused crop keeps the
        // redo history.
        const QRectF area = spannedArea(mark);
        if (area.width() < minimumCropSide || area.height() < minimumCropSide) {
            return;
        }
        next.crop = area;
    } else {
        next.marks.append(std::move(mark));
    }
    record();
    setState(std::move(next));
    setUnsavedChanges(true);
}

void EditorDocument::replaceSelected(ImageMark mark) {
    if (!validSelection()) {
        return;
    }
    const int index = *m_selected;
    if (mark.tool == DrawingTool::pixelate && !mark.points.isEmpty() &&
        !bakePixelation(mark, m_state.marks.mid(0, index), mark.thickness,
                        QStringLiteral("Move failed: "))) {
        return;
    }
    State next = m_state;
    next.marks[index] = std::move(mark);
    record();
    setState(std::move(next));
    setUnsavedChanges(true);
}

void EditorDocument::deleteSelected() {
    if (!validSelection()) {
        return;
    }
    State next = m_state;
    next.marks.removeAt(*m_selected);
    record();
    setState(std::move(next));
    setUnsavedChanges(true);
    setSelected(std::nullopt);
}

void EditorDocument::step(QVector<State>& from, QVector<State>& to) {
    if (from.isEmpty()) {
        return;
    }
    State taken = from.takeLast();
    to.append(m_state);
    setState(std::move(taken));
    setUnsavedChanges(true);
    setSelected(std::nullopt);
}

void EditorDocument::undo() {
    step(m_history, m_future);
}

void EditorDocument::redo() {
    step(m_future, m_history);
}

// A variant of the same family keeps the mark where it was: a curve gains its
// control point, a line drops it, text and callout trade the callout's target.
void EditorDocument::reshape(QVector<QPointF>& points, ToolPoints kind) const {
    if (kind == ToolPoints::curve && points.size() == 2) {
        points.append(curve::controlPoint(points[0], points[1]));
    } else if (kind == ToolPoints::two && points.size() >= 3) {
        points.resize(2);
    } else if (kind == ToolPoints::two && points.size() == 1) {
        const QRectF area = visibleArea();
        points.append(QPointF(std::min(points[0].x() + calloutReach, area.right()),
                              std::min(points[0].y() + calloutDrop, area.bottom())));
    } else if (kind == ToolPoints::one && points.size() >= 2) {
        points.resize(1);
    }
}

void EditorDocument::changeVariant(DrawingTool tool) {
    const std::optional<int> selection = m_selected;
    const std::optional<ImageMark> active = activeMark();
    setTool(tool);
    setSelected(std::nullopt);
    if (!active) {
        return;
    }
    setSelected(selection);
    ImageMark mark = *active;
    reshape(mark.points, ToolTraits::of(tool).points);
    if (tool != DrawingTool::pixelate) {
        mark.bitmap.reset();
    }
    mark.tool = tool;
    replaceSelected(std::move(mark));
}

void EditorDocument::changeColor(const QColor& color) {
    setColor(color);
    if (std::optional<ImageMark> mark = activeMark()) {
        mark->color = color;
        replaceSelected(std::move(*mark));
    }
}

void EditorDocument::changeFontSize(double size) {
    m_fontSize = size;
    m_services.defaults.setValue(EditorPreferences::fontSizeKey, size);
    emit fontSizeChanged(size);
    if (std::optional<ImageMark> mark = activeMark()) {
        mark->fontSize = size;
        replaceSelected(std::move(*mark));
    }
}

ImageMark EditorDocument::styled(ImageMark mark) const {
    mark.cornerRadius = m_cornerRadius;
    mark.fontSize = m_fontSize;
    return mark;
}

bool EditorDocument::matchesColor(const QColor& color) const {
    const auto ours = EditorPreferences::inSrgb(m_color);
    const auto theirs = EditorPreferences::inSrgb(color);
    if (!ours || !theirs) {
        return false;
    }
    return std::abs(ours->redF() - theirs->redF()) < colorTolerance &&
           std::abs(ours->greenF() - theirs->greenF()) < colorTolerance &&
           std::abs(ours->blueF() - theirs->blueF()) < colorTolerance;
}

void EditorDocument::editSelectedText() {
    std::optional<ImageMark> mark = activeMark();
    if (!mark || !ToolTraits::of(mark->tool).text) {
        return;
    }
    const std::optional<QString> answer =
        promptText(QStringLiteral("Edit text / number"), mark->text);
    if (!answer) {
        return;
    }
    if (mark->tool == DrawingTool::step && !StepNumber::isValid(*answer)) {
        setMessage(StepNumber::rangeMessage);
        return;
    }
    mark->text = *answer;
    replaceSelected(std::move(*mark));
}

std::optional<QString> EditorDocument::promptText(const QString& title, const QString& initial) {
    const std::optional<QString> answer = m_services.dialogs.textPrompt(title, initial);
    if (!answer) {
        return std::nullopt;
    }
    const QString text = answer->trimmed();
    const int length = graphemeCount(text);
    if (length < 1 || length > maximumTextLength) {
        setMessage(textLengthMessage);
        return std::nullopt;
    }
    return text;
}

QImage EditorDocument::output() const {
    return EditedImage::render(m_source, m_state.marks, m_state.crop);
}

void EditorDocument::finish(const QString& message) {
    setMessage(message);
    if (onComplete) {
        onComplete();
    }
}

void EditorDocument::copy() {
    try {
        // Encoded in full before the clipboard is touched, so a failure
        // leaves what it held.
        const QByteArray png = EditedImage::png(output());
        if (!m_services.clipboard.setPng(png)) {
            throw DocumentError(DocumentError::Kind::render);
        }
    } catch (const std::exception& error) {
        setMessage(described(QStringLiteral("Copy failed: "), error));
        return;
    }
    finish(QStringLiteral("Image copied"));
}

bool EditorDocument::save() {
    const bool jpeg = m_format == QLatin1String("jpg");
    const QStringList suffixes = jpeg ? QStringList{QStringLiteral("jpg"), QStringLiteral("jpeg")}
                                      : QStringList{QStringLiteral("png")};
    const std::optional<QString> path =
        m_services.dialogs.savePanel(QStringLiteral("Capture.") + m_format, suffixes);
    if (!path || path->isEmpty()) {
        return false;
    }
    try {
        const QImage image = output();
        const QByteArray bytes =
            jpeg ? EditedImage::jpeg(image, jpegQuality) : EditedImage::png(image);
        OutputFile::write(*path, bytes, true);
    } catch (const std::exception& error) {
        setMessage(described(QStringLiteral("Save failed: "), error));
        return false;
    }
    setUnsavedChanges(false);
    finish(QStringLiteral("Saved: ") + QFileInfo(*path).fileName());
    return true;
}

void EditorDocument::pin() {
    QImage image;
    try {
        image = output();
    } catch (const std::exception& error) {
        setMessage(described(QStringLiteral("Pin failed: "), error));
        return;
    }
    m_services.pins.show(image, m_sourceScale);
    finish(QStringLiteral("Pinned to screen · Drag the title bar to move"));
}

} // namespace vellumix
