# The X11 services talk to the X server through XCB: core protocol, MIT-SHM for
# fast screen reads, Composite for the pixels of covered windows.
pkg_check_modules(VELLUMIX_XCB REQUIRED IMPORTED_TARGET xcb xcb-shm xcb-composite)
target_link_libraries(VellumixAppLib PUBLIC PkgConfig::VELLUMIX_XCB)
