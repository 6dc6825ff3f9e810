# cmake -DBUILD_DIR=<build tree> -DPREFIX=<folder> -DAPP_ID=<application id> -DQT_PLUGINS=<Qt's plugin folder
#     below a prefix> -P InstallLayout.cmake
# Installs the build tree under PREFIX and checks that every file lies where a desktop looks for it, and
# that each PNG icon is as large as the folder it lies in says.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install (${result}):\n${output}")
endif()

set(icon_sizes 48 64)
set(expected
    bin/tamsel-viewer
    bin/tamsel-texture
    share/thumbnailers/${APP_ID}.thumbnailer
    ${QT_PLUGINS}/imageformats/libtamsel-texture-imageformat.so
    share/applications/${APP_ID}.desktop
    share/mime/packages/${APP_ID}.xml
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${APP_ID}.svg)
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
