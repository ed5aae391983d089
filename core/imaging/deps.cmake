pkg_check_modules(VELLUMIX_IMAGING REQUIRED IMPORTED_TARGET libpng libdeflate zlib)
target_link_libraries(CaptureCore PUBLIC PkgConfig::VELLUMIX_IMAGING)
# The codec's per-pixel loops run on every scrolling-capture frame and every
# save; they are built optimised even in debug builds so that tests and
# debugging sessions with large images stay quick.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/PngCodec.cpp
                            ${CMAKE_CURRENT_LIST_DIR}/PngFastReader.cpp
                            ${CMAKE_CURRENT_LIST_DIR}/PngRowFilters.cpp
                            PROPERTIES COMPILE_OPTIONS -O2)
