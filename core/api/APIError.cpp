#include "api/APIError.h"

namespace vellumix {

APIError::APIError(QString code, QString message)
    : m_code(std::move(code)), m_message(std::move(message)), m_utf8(m_message.toStdString()) {}

} // namespace vellumix
