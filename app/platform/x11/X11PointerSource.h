#pragma once

#include "platform/PointerSource.h"
#include "platform/x11/X11Connection.h"

#include <memory>

namespace vellumix {

// The pointer through the XFixes extension, on a connection of its own.
class X11PointerSource final : public PointerSource {
public:
    explicit X11PointerSource(std::unique_ptr<X11Connection> connection);

    std::optional<PointerImage> pointer() override;

private:
    std::unique_ptr<X11Connection> m_connection;
    bool m_hasXFixes = false;
};

} // namespace vellumix
