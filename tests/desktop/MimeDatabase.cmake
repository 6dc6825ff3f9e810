# cmake -DPACKAGE=<MIME package> -DNAME=<its installed name> -DDATA_DIR=<folder> -P MimeDatabase.cmake
# Makes DATA_DIR a data folder whose MIME database holds the package alone, as update-mime-database builds
# it on installation. A word from the tool, such as a warning about the package, is a failure.
file(REMOVE_RECURSE ${DATA_DIR})
file(MAKE_DIRECTORY ${DATA_DIR}/mime/packages)
file(COPY_FILE ${PACKAGE} ${DATA_DIR}/mime/packages/${NAME})
# Searched, so that the tool does not note that the folder is not.
set(ENV{XDG_DATA_HOME} ${DATA_DIR})
set(ENV{XDG_DATA_DIRS} ${DATA_DIR})
execute_process(COMMAND update-mime-database ${DATA_DIR}/mime
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output STREQUAL "")
    message(FATAL_ERROR "update-mime-database (${result}):\n${output}")
endif()
