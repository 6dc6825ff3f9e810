# cmake -DBUILD_DIR=<release build tree> -DPREFIX=<folder> -DAPP_ID=<application id> -DQT_PLUGINS=<Qt's plugin
#     folder below a prefix> -P InstallLayout.cmake
# Installs the build tree under PREFIX, as `cmake --install --prefix` does for a user, and checks that every
# file lies where a desktop looks for it, that the thumbnailer entry names the program installed there,
# that each PNG icon is as large as the folder it lies in says, and that the manual pages tell every
# option the programs' --help tells.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} -- -n
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output MATCHES "no work to do")
    message(FATAL_ERROR "The release build in ${BUILD_DIR} is missing or out of date: build it first "
        "(cmake --preset release && cmake --build --preset release).\n${output}")
endif()
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install (${result}):\n${output}")
endif()

set(icon_sizes 48 64)
set(programs tamsel-viewer tamsel-texture)
set(expected
    share/thumbnailers/${APP_ID}.thumbnailer
    ${QT_PLUGINS}/imageformats/libtamsel-texture-imageformat.so
    share/applications/${APP_ID}.desktop
    share/mime/packages/${APP_ID}.xml
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(program IN LISTS programs)
    list(APPEND expected bin/${program} share/man/man1/${program}.1.gz)
endforeach()
foreach(size IN LISTS icon_sizes)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
set(missing)
foreach(file IN LISTS expected)
    if(NOT EXISTS ${PREFIX}/${file} OR IS_DIRECTORY ${PREFIX}/${file})
        list(APPEND missing ${file})
    endif()
endforeach()
if(missing)
    list(JOIN missing "\n  " missing)
    message(FATAL_ERROR "not installed:\n  ${missing}\ninstalled:\n${output}")
endif()

file(STRINGS ${PREFIX}/share/thumbnailers/${APP_ID}.thumbnailer exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=${PREFIX}/bin/tamsel-texture thumbnail -s %s %i %o")
    message(FATAL_ERROR "the thumbnailer entry says ${exec}")
endif()

# A PNG starts with its 8-byte signature and then the IHDR chunk: length, type, width and height.
foreach(size IN LISTS icon_sizes)
    set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 32 start)
    if(NOT start STREQUAL "89504e470d0a1a0a0000000d49484452")
        message(FATAL_ERROR "${png} is not a PNG: ${header}")
    endif()
    string(SUBSTRING "${header}" 32 8 width)
    string(SUBSTRING "${header}" 40 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT width EQUAL size OR NOT height EQUAL size)
        message(FATAL_ERROR "${png} is ${width}x${height}")
    endif()
endforeach()

# Every long option of a program's help in its manual page (which mostly writes "\-\-json"), and the
# page's examples.
foreach(program IN LISTS programs)
    execute_process(COMMAND ${PREFIX}/bin/${program} --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
    execute_process(COMMAND gzip -dc ${PREFIX}/share/man/man1/${program}.1.gz OUTPUT_VARIABLE page)
    string(REPLACE "\\-" "-" page "${page}")
    string(REGEX MATCHALL "--[a-z-]+" options "${help}")
    list(REMOVE_DUPLICATES options)
    set(untold)
    foreach(option IN LISTS options)
        string(FIND "${page}" "${option}" at)
        if(at EQUAL -1)
            list(APPEND untold ${option})
        endif()
    endforeach()
    if(NOT result EQUAL 0 OR options STREQUAL "" OR untold OR NOT page MATCHES "\n\\.SH EXAMPLES\n")
        message(FATAL_ERROR "${program}(1) leaves out ${untold} of --help (exit ${result}), or its examples")
    endif()
endforeach()
