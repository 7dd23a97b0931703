# cpack -G DEB: one package of the whole, for Debian 12. Runtime dependencies
# come from dpkg-shlibdeps over the installed binaries.
set(CPACK_PACKAGE_NAME canny-demo)
set(CPACK_PACKAGE_VENDOR "Canny Demo developers")
set(CPACK_PACKAGE_CONTACT "Canny Demo developers <canny-demo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Canny edge detection: desktop demo, command-line tool, library")
set(CPACK_PACKAGE_DESCRIPTION
    "Canny Demo shows Canny edge detection on pictures and camera snapshots, with sliders for\n"
    "the thresholds and the smoothing. canny writes edge maps of picture files from the command\n"
    "line. The exact, fast engine comes as a C++ library (CMake and pkg-config packages) and as\n"
    "the Python module canny_engine for NumPy arrays.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps must find the package's own library in the staging tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/engine)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# Python's NumPy is loaded at run time, not linked, so shlibdeps cannot see it;
# Qt finds its image plugins (JPEG, TIFF) at run time too.
find_package(Python3 COMPONENTS Interpreter)
# The module's file name carries the interpreter's minor version.
math(EXPR kNextMinor "${Python3_VERSION_MINOR} + 1")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}~)"
    "python3 (<< ${Python3_VERSION_MAJOR}.${kNextMinor})"
    python3-numpy qt6-image-formats-plugins)
list(JOIN CPACK_DEBIAN_PACKAGE_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# The camera reaches Qt Multimedia through GStreamer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-good")
set(CPACK_STRIP_FILES ON)
include(CPack)
