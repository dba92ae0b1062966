# `make package` (cpack in the build folder): one Debian package, framecraft,
# with everything the install puts under /usr. dpkg-shlibdeps derives the
# dependencies on Debian's runtime libraries from what the binaries link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME framecraft)
set(CPACK_PACKAGE_VENDOR Framecraft)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "video-processing components and SIMD image primitives")
set(CPACK_PACKAGE_DESCRIPTION "image primitives in C, video components in C++20, headers, tool")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package carries no debugging information.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Framecraft developers <framecraft@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The package's own libraries: dpkg-shlibdeps finds them here instead of
# asking which package provides them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
# The Python module (python/) is in the package; it needs NumPy to run.
if(FRAMECRAFT_PYTHON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "python3, python3-numpy")
endif()
include(CPack)
