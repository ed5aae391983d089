#pragma once

#include "pins/PinService.h"

#include <QHash>
#include <QUuid>

namespace vellumix {

// Pins without windows: keeps what was shown under its id and records the
// scale each was asked for.
class FakePins final : public PinService {
public:
    QString show(const QImage& image, double sourceScale) override {
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        open.insert(id, image);
        scales.append(sourceScale);
        return id;
    }
    bool close(const QString& id) override { return open.remove(id) > 0; }

    QHash<QString, QImage> open;
    QList<double> scales;
};

} // namespace vellumix
