# The X11 services talk to the X server through XCB: core protocol, MIT-SHM for
# fast screen reads, Composite for the pixels of covered windows.
pkg_check_modules(VELLUMIX_XCB REQUIRED IMPORTED_TARGET xcb xcb-shm xcb-composite)
target_link_libraries(VellumixAppLib PUBLIC PkgConfig::VELLUMIX_XCB)
# XKB for detectable autorepeat of the global hot key.
pkg_check_modules(VELLUMIX_XCB_XKB REQUIRED IMPORTED_TARGET xcb-xkb)
target_link_libraries(VellumixAppLib PUBLIC PkgConfig::VELLUMIX_XCB_XKB)
# XFixes for the pointer's image, drawn into recordings.
pkg_check_modules(VELLUMIX_XCB_XFIXES REQUIRED IMPORTED_TARGET xcb-xfixes)
target_link_libraries(VellumixAppLib PUBLIC PkgConfig::VELLUMIX_XCB_XFIXES)
# logind on the system bus reports sleep and session changes.
find_package(Qt6 REQUIRED COMPONENTS DBus)
target_link_libraries(VellumixAppLib PUBLIC Qt6::DBus)
# Wayland sessions: frames of the screen come from PipeWire streams the
# desktop portal opens.
pkg_check_modules(VELLUMIX_PIPEWIRE REQUIRED IMPORTED_TARGET libpipewire-0.3)
target_link_libraries(VellumixAppLib PUBLIC PkgConfig::VELLUMIX_PIPEWIRE)
# wlroots desktops: one-off copies of an output over the compositor's own
# protocol, while a new cast has no frame yet.
pkg_check_modules(VELLUMIX_WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
target_link_libraries(VellumixAppLib PUBLIC PkgConfig::VELLUMIX_WAYLAND_CLIENT)
# Overlays above panels on wlroots desktops and KDE: layer-shell, whose client
# code Qt's scanner makes from the vendored protocol (and xdg-shell, which it
# names); Qt's native interface hands over its display, surfaces and outputs.
find_package(Qt6 REQUIRED COMPONENTS Gui WaylandClient)
pkg_get_variable(VELLUMIX_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
qt6_generate_wayland_protocol_client_sources(VellumixAppLib FILES
    ${CMAKE_CURRENT_LIST_DIR}/wayland/protocols/wlr-layer-shell-unstable-v1.xml
    ${VELLUMIX_WAYLAND_PROTOCOLS}/stable/xdg-shell/xdg-shell.xml)
target_link_libraries(VellumixAppLib PUBLIC Qt6::WaylandClient Qt6::GuiPrivate)
