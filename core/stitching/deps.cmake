# The signature, matcher and preview loops touch every row of every frame.
# The scrolling-capture accuracy tests feed hundreds of frames through them,
# so they are optimised in every build type (sanitizers still apply).
set_source_files_properties(
    ${CMAKE_CURRENT_LIST_DIR}/FrameSignature.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VerticalMatcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IncrementalPreview.cpp
    PROPERTIES COMPILE_OPTIONS -O2)
