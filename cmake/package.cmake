# The Debian package: `cpack -G DEB` in the build folder writes zemo_VERSION_amd64.deb. Its
# dependencies come from the libraries the programs link (dpkg-shlibdeps); the plot and video
# scripts' programs are recommended.
set(CPACK_PACKAGE_NAME zemo)
set(CPACK_PACKAGE_VENDOR "Zemo developers")
set(CPACK_PACKAGE_CONTACT "Zemo developers <zemo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and editor for optical motion-capture data")
set(CPACK_PACKAGE_DESCRIPTION "Zemo shows captures of tracked marks (IDF, C3D, TRC) in 3-D, repairs,
smooths and fills lost coordinates, diagnoses captures with fuzzy rules, and plots trajectories.
zemo-cli does the same work without a window, on many files at once.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnuplot-nox, ffmpeg, xdg-utils")
include(CPack)
