#include "api/StrictJson.h"

#include <QString>

#include <cctype>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vellumix::StrictJson {

namespace {

class Checker final {
public:
    explicit Checker(const QByteArray& text)
        : m_begin(text.constData()), m_at(m_begin), m_end(m_begin + text.size()) {}

    void run() {
        bool expectValue = true;
        space();
        while (true) {
            if (expectValue) {
                expectValue = value();
                continue;
            }
            space();
            if (m_open.empty()) {
                if (m_at != m_end) {
                    fail("unexpected text after the value");
                }
                return;
            }
            const char open = m_open.back();
            const char close = open == '{' ? '}' : ']';
            if (take(close)) {
                m_open.pop_back();
            } else if (take(',')) {
                memberStart(open);
                expectValue = true;
            } else {
                fail(open == '{' ? "',' or '}' expected" : "',' or ']' expected");
            }
        }
    }

private:
    [[noreturn]] void fail(const char* what) const {
        throw std::runtime_error(QStringLiteral("%1 at offset %2")
                                     .arg(QLatin1String(what))
                                     .arg(m_at - m_begin)
                                     .toStdString());
    }

    int peek() const { return m_at < m_end ? static_cast<unsigned char>(*m_at) : -1; }
    bool take(char c) {
        if (peek() != static_cast<unsigned char>(c)) {
            return false;
        }
        ++m_at;
        return true;
    }
    bool digit() const { return peek() >= '0' && peek() <= '9'; }
    void digits() {
        if (!digit()) {
            fail("illegal number");
        }
        while (digit()) {
            ++m_at;
        }
    }
    void space() {
        while (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r') {
            ++m_at;
        }
    }

    // Inside an object a value comes after its name and a colon.
    void memberStart(char open) {
        space();
        if (open == '{') {
            string();
            space();
            if (!take(':')) {
                fail("':' expected");
            }
        }
        space();
    }

    // One value; a bracket only opens, and answers that a value follows at
    // once unless it closes again straight away.
    bool value() {
        const int c = peek();
        if (c == '{' || c == '[') {
            ++m_at;
            space();
            if (take(c == '{' ? '}' : ']')) {
                return false;
            }
            m_open.push_back(char(c));
            memberStart(char(c));
            return true;
        }
        if (c == '"') {
            string();
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            number();
        } else if (!literal("true") && !literal("false") && !literal("null")) {
            fail("value expected");
        }
        return false;
    }

    bool literal(const char* word) {
        const size_t n = std::strlen(word);
        if (size_t(m_end - m_at) < n || std::memcmp(m_at, word, n) != 0) {
            return false;
        }
        m_at += n;
        return true;
    }

    void number() {
        take('-');
        if (!take('0')) {
            digits();
        }
        if (take('.')) {
            digits();
        }
        if (take('e') || take('E')) {
            if (!take('+')) {
                take('-');
            }
            digits();
        }
    }

    void string() {
        if (!take('"')) {
            fail("string expected");
        }
        while (!take('"')) {
            const int c = peek();
            if (c < 0x20) {
                fail(c < 0 ? "unterminated string" : "control character in string");
            }
            ++m_at;
            if (c == '\\') {
                escape();
            }
        }
    }

    void escape() {
        const int c = peek();
        if (c != -1 && std::strchr("\"\\/bfnrt", c) != nullptr) {
            ++m_at;
            return;
        }
        if (!take('u')) {
            fail("illegal escape sequence");
        }
        for (int i = 0; i < 4; ++i) {
            if (!std::isxdigit(peek())) {
                fail("illegal escape sequence");
            }
            ++m_at;
        }
    }

    const char* m_begin;
    const char* m_at;
    const char* m_end;
    std::vector<char> m_open;
};

} // namespace

void check(const QByteArray& text) {
    Checker(text).run();
}

} // namespace vellumix::StrictJson
