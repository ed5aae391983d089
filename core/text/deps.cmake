# Text recognition runs on Tesseract, whose images travel through Leptonica.
pkg_check_modules(tesseract REQUIRED IMPORTED_TARGET tesseract lept)
target_link_libraries(CaptureCore PUBLIC PkgConfig::tesseract)
