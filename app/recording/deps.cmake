# Screen recordings: H.264 in MP4 through FFmpeg's libraries; GIF with one
# palette from libimagequant, written by giflib (which ships no pkg-config).
pkg_check_modules(VELLUMIX_AV REQUIRED IMPORTED_TARGET
    libavcodec libavformat libswscale libavutil imagequant)
find_package(GIF REQUIRED)
target_link_libraries(VellumixAppLib PUBLIC PkgConfig::VELLUMIX_AV GIF::GIF)
