#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment final {
public:
    ScopedEnvironment(const char* name, const std::optional<QByteArray>& value) : m_name(name) {
        if (qEnvironmentVariableIsSet(name)) {
            m_saved = qgetenv(name);
        }
        set(value);
    }
    ~ScopedEnvironment() { set(m_saved); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const std::optional<QByteArray>& value) {
        value ? qputenv(m_name, *value) : qunsetenv(m_name);
    }

    const char* m_name;
    std::optional<QByteArray> m_saved;
};
