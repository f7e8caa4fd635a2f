# The Windows release: a zip that a Windows user unpacks and runs, built with
#   cmake --build build-windows --target package
# Tenebrix-<version>-windows-x64.zip holds one folder with tenebrix.exe (no
# DLLs needed), images\ (the HUD sprites), Tenebrix.cfg and README.txt, and
# tenebrix_test_camera.dll, a camera for machines without one (README.txt).
install(TARGETS tenebrix RUNTIME DESTINATION .)
file(GLOB sprites ${PROJECT_SOURCE_DIR}/res/images/*.bmp)
install(FILES ${sprites} DESTINATION images)
install(FILES ${PROJECT_SOURCE_DIR}/res/Tenebrix.cfg ${PROJECT_SOURCE_DIR}/res/windows/README.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tenebrix)
set(CPACK_PACKAGE_FILE_NAME Tenebrix-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)  # no debug information in what users get
include(CPack)
