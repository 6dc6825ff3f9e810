# cmake -DBUILD_DIR=<release build tree> -DWORK_DIR=<folder> -DAPP_ID=<application id> -DQT_PLUGINS=<Qt's plugin
#     folder below a prefix> -DVERSION=<version> -P DebianPackage.cmake
# Makes the Debian package as the README says (cpack -G DEB in the release build, here into WORK_DIR) and
# reads it without installing it: its name, the files it installs below /usr, the thumbnailer entry's
# program, and the dependencies from the libraries linked and from what Qt loads at run time.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND cpack -G DEB -B ${WORK_DIR} WORKING_DIRECTORY ${BUILD_DIR}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb ${WORK_DIR}/tamsel-viewer_${VERSION}_${arch}.deb)
if(NOT result EQUAL 0 OR NOT EXISTS ${deb})
    message(FATAL_ERROR "cpack (${result}) made no ${deb}:\n${output}")
endif()

execute_process(COMMAND dpkg-deb -c ${deb} OUTPUT_VARIABLE listing)
string(REGEX MATCHALL "\\./[^\n]*[^/\n]\n" files "${listing}")
string(REPLACE "\n" "" files "${files}")
set(expected
    ./usr/bin/tamsel-viewer
    ./usr/bin/tamsel-texture
    ./usr/${QT_PLUGINS}/imageformats/libtamsel-texture-imageformat.so
    ./usr/share/applications/${APP_ID}.desktop
    ./usr/share/doc/tamsel-viewer/copyright
    ./usr/share/icons/hicolor/48x48/apps/${APP_ID}.png
    ./usr/share/icons/hicolor/64x64/apps/${APP_ID}.png
    ./usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
    ./usr/share/man/man1/tamsel-texture.1.gz
    ./usr/share/man/man1/tamsel-viewer.1.gz
    ./usr/share/metainfo/${APP_ID}.metainfo.xml
    ./usr/share/mime/packages/${APP_ID}.xml
    ./usr/share/thumbnailers/${APP_ID}.thumbnailer)
list(SORT files)
list(SORT expected)
if(NOT files STREQUAL expected)
    message(FATAL_ERROR "${deb} holds:\n${listing}")
endif()

execute_process(COMMAND dpkg-deb --fsys-tarfile ${deb} COMMAND tar -xO ./usr/share/thumbnailers/${APP_ID}.thumbnailer
    OUTPUT_VARIABLE entry)
if(NOT entry MATCHES "\nExec=/usr/bin/tamsel-texture thumbnail ")
    message(FATAL_ERROR "the package's thumbnailer entry:\n${entry}")
endif()

execute_process(COMMAND dpkg-deb -f ${deb} Depends OUTPUT_VARIABLE depends OUTPUT_STRIP_TRAILING_WHITESPACE)
string(REPLACE ", " ";" dependencies "${depends}")
list(TRANSFORM dependencies REPLACE " .*" "")
foreach(package IN ITEMS libqt6gui6 libqt6widgets6 libjpeg62-turbo libstdc++6 qt6-qpa-plugins qt6-wayland
        qt6-image-formats-plugins)
    if(NOT package IN_LIST dependencies)
        message(FATAL_ERROR "the package does not depend on ${package}: ${depends}")
    endif()
endforeach()
