#pragma once

#include "marks/ImageMark.h"
#include "marks/ToolTraits.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

namespace vellumix {

class Clipboard;
class Defaults;
class Dialogs;
class PinService;

// What a document needs from the rest of the app; all outlive it.
struct EditorServices {
    Defaults& defaults;
    Dialogs& dialogs;
    Clipboard& clipboard;
    PinService& pins;
};

// The model of one annotation editor: the captured image, the marks drawn
// over it, the crop, the current tool and style, the one-line status message
// and unlimited undo and redo. Views read it, call its operations and redraw
// on its change signals. Every operation either completes or leaves the
// document as it was; failures end in `message`. Main thread only.
class EditorDocument final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool unsavedChanges READ unsavedChanges NOTIFY unsavedChangesChanged)
    Q_PROPERTY(double fontSize READ fontSize NOTIFY fontSizeChanged)
    Q_PROPERTY(
        double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY cornerRadiusChanged)
    Q_PROPERTY(QString format READ format WRITE setFormat NOTIFY formatChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(double thickness READ thickness WRITE setThickness NOTIFY thicknessChanged)
    Q_PROPERTY(QString message READ message WRITE setMessage NOTIFY messageChanged)
    Q_PROPERTY(double zoom READ zoom WRITE setZoom NOTIFY zoomChanged)

public:
    // The picture: the source cropped to `crop` (whole without one) with the
    // marks drawn over it in order. Marks keep source coordinates.
    struct State {
        QVector<ImageMark> marks;
        std::optional<QRectF> crop;
    };

    EditorDocument(QImage source, double sourceScale, bool requiresSave, bool confirmBeforeDiscard,
                   EditorServices services, QObject* parent = nullptr);

    // Called after a successful copy, save or pin; the owner closes the editor.
    std::function<void()> onComplete;

    const QImage& source() const { return m_source; }
    double sourceScale() const { return m_sourceScale; }
    bool confirmBeforeDiscard() const { return m_confirmBeforeDiscard; }
    const State& state() const { return m_state; }
    const QVector<State>& history() const { return m_history; }
    const QVector<State>& future() const { return m_future; }
    // The crop, or the whole source without one.
    QRectF visibleArea() const;

    bool unsavedChanges() const { return m_unsavedChanges; }
    DrawingTool tool() const { return m_tool; }
    void setTool(DrawingTool tool);
    std::optional<int> selected() const { return m_selected; }
    void setSelected(std::optional<int> index);
    double fontSize() const { return m_fontSize; }
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    QString format() const { return m_format; }
    void setFormat(const QString& format);
    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    double thickness() const { return m_thickness; }
    void setThickness(double thickness);
    QString message() const { return m_message; }
    void setMessage(const QString& message);
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);

    std::optional<ImageMark> activeMark() const;
    bool hasEdits() const;

    void commit(ImageMark mark);
    void replaceSelected(ImageMark mark);
    void deleteSelected();
    void undo();
    void redo();
    void changeVariant(DrawingTool tool);
    void changeColor(const QColor& color);
    void changeFontSize(double size);
    ImageMark styled(ImageMark mark) const;
    bool matchesColor(const QColor& color) const;

    void editSelectedText();
    // Asks for 1 to 200 characters; the answer comes back trimmed.
    std::optional<QString> promptText(const QString& title, const QString& initial);

    // The finished picture; throws DocumentError(render).
    QImage output() const;
    void copy();
    bool save();
    void pin();

    static constexpr int maximumTextLength = 200;
    static constexpr double minimumCropSide = 8;
    static constexpr double minimumPixelateSide = 2;

signals:
    void stateChanged();
    void unsavedChangesChanged(bool unsaved);
    void toolChanged(DrawingTool tool);
    void selectedChanged();
    void fontSizeChanged(double size);
    void cornerRadiusChanged(double radius);
    void formatChanged(const QString& format);
    void colorChanged(const QColor& color);
    void thicknessChanged(double thickness);
    void messageChanged(const QString& message);
    void zoomChanged(double zoom);

private:
    void restorePreferences();
    bool validSelection() const;
    // Pushes the current state onto the undo stack and empties the redo stack.
    void record();
    void setState(State state);
    void setUnsavedChanges(bool unsaved);
    void step(QVector<State>& from, QVector<State>& to);
    // Gives a pixelate mark its reduced picture of what lies under it; false
    // (with the document untouched) when the area is too small or the
    // picture cannot be made.
    bool bakePixelation(ImageMark& mark, const QVector<ImageMark>& beneath, double thickness,
                        const QString& failure);
    QRectF spannedArea(const ImageMark& mark) const;
    void reshape(QVector<QPointF>& points, ToolPoints kind) const;
    void finish(const QString& message);

    QImage m_source;
    double m_sourceScale;
    bool m_confirmBeforeDiscard;
    EditorServices m_services;
    State m_state;
    bool m_unsavedChanges;
    DrawingTool m_tool = DrawingTool::arrow;
    std::optional<int> m_selected;
    double m_fontSize = 24;
    double m_cornerRadius = 10;
    QString m_format = QStringLiteral("png");
    QColor m_color = QColor::fromRgbF(0.24f, 0.37f, 0.89f);
    double m_thickness = 3;
    QString m_message;
    double m_zoom = 1;
    QVector<State> m_history;
    QVector<State> m_future;
};

} // namespace vellumix
