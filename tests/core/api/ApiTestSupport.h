#pragma once

#include "api/APIError.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace vellumix::test {

// A private folder with a source image in it, for tests that run requests.
class ApiFolder {
public:
    ApiFolder() { writeImage(QStringLiteral("in.png"), checkerboard(80, 60)); }

    QString file(const QString& name) const { return m_dir.filePath(name); }
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QString writeImage(const QString& name, const QImage& image) const {
        image.save(file(name), "PNG");
        return file(name);
    }
    QString writeBytes(const QString& name, const QByteArray& bytes) const {
        QFile out(file(name));
        out.open(QIODevice::WriteOnly);
        out.write(bytes);
        return file(name);
    }
    QByteArray readBytes(const QString& name) const {
        QFile in(file(name));
        in.open(QIODevice::ReadOnly);
        return in.readAll();
    }

    // A request reading in.png and writing `output` in this folder; `json`
    // holds the remaining keys, e.g. R"("marks":[])".
    QJsonObject request(const QString& output, const QByteArray& json = {}) const {
        const QByteArray head = "{\"input\":\"" + file("in.png").toUtf8() + "\",\"output\":\"" +
                                file(output).toUtf8() + "\"";
        return QJsonDocument::fromJson(head + (json.isEmpty() ? "" : ",") + json + "}").object();
    }

    static QImage checkerboard(int width, int height) {
        QImage image(width, height, QImage::Format_RGBA8888_Premultiplied);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.setPixelColor(x, y, ((x / 4 + y / 4) % 2) ? Qt::white : Qt::darkGray);
            }
        }
        return image;
    }

private:
    QTemporaryDir m_dir;
};

inline QJsonObject object(const QByteArray& json) {
    return QJsonDocument::fromJson(json).object();
}

// Runs `call` and checks that it throws exactly this APIError.
inline void expectAPIError(const std::function<void()>& call, const QString& code,
                           const QString& message) {
    try {
        call();
        ADD_FAILURE() << "no error, expected " << message.toStdString();
    } catch (const APIError& error) {
        EXPECT_EQ(error.code(), code);
        EXPECT_EQ(error.message(), message);
        EXPECT_EQ(QString::fromUtf8(error.what()), message);
    }
}

} // namespace vellumix::test
