#pragma once

#include "api/JsonWriter.h"
#include "automation/AgentBridge.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePins.h"
#include "fakes/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

namespace vellumix {

// A bridge on a temporary queue with fake displays, pins and clock. Tests
// drop request files, run one pass and read the responses.
class BridgeTest : public testing::Test {
protected:
    void SetUp() override {
        const QRectF primary(0, 0, 200, 100);
        fakes.displays.list = {fakeDisplay("LEFT", primary, 1.0, primary),
                               fakeDisplay("RIGHT", QRectF(200, 0, 100, 50), 2.0, primary)};
        start();
    }

    void start(uid_t owner = ::getuid()) {
        bridge = std::make_unique<AgentBridge>(fakes.services(), pins, clock, clock, root(), owner);
    }

    QString root() const { return home.path() + QStringLiteral("/Vellumix/Automation"); }
    QString requests() const { return root() + QStringLiteral("/requests/"); }
    QString responses() const { return root() + QStringLiteral("/responses/"); }
    static QString newName() {
        return QUuid::createUuid().toString(QUuid::WithoutBraces) + ".json";
    }

    QByteArray request(const QString& operation, const QJsonObject& arguments = {},
                       double age = 0) const {
        return JsonWriter::write(QJsonObject{
            {"operation", operation}, {"created", clock.time - age}, {"arguments", arguments}});
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    // Runs one pass to its end.
    void pass() {
        QSignalSpy finished(bridge.get(), &AgentBridge::passFinished);
        bridge->poll();
        ASSERT_TRUE(!finished.isEmpty() || finished.wait(10000)) << "the pass did not finish";
    }

    std::optional<QJsonObject> response(const QString& name) const {
        QFile file(responses() + name);
        if (!file.open(QIODevice::ReadOnly)) {
            return std::nullopt;
        }
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    // The response to one request of `operation`, in a pass of its own.
    const QJsonObject ask(const QString& operation, const QJsonObject& arguments = {}) {
        const QString name = newName();
        writeFile(requests() + name, request(operation, arguments));
        pass();
        return response(name).value_or(QJsonObject());
    }

    static std::string code(const QJsonObject& response) {
        return response["ok"].toBool() ? "ok" : response["error"]["code"].toString().toStdString();
    }

    QTemporaryDir home;
    FakePlatform fakes;
    FakePins pins;
    FakeClock clock;
    std::unique_ptr<AgentBridge> bridge;
};

} // namespace vellumix
