# cmake -DMAKE_SAMPLES=... -DTAMSEL_TEXTURE=... -DWORK_DIR=... -P CheckSampleTools.cmake
# Every good sample converted to a PPM, alone to the standard output and with the whole folder at once,
# is byte for byte the canvas make-samples says it must give; every bad one is refused by name, with
# the reader's reason.
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${MAKE_SAMPLES}" "${WORK_DIR}/samples" RESULT_VARIABLE made)
if(NOT made EQUAL 0)
    message(FATAL_ERROR "make-samples failed: ${made}")
endif()

file(GLOB good LIST_DIRECTORIES false "${WORK_DIR}/samples/*.mip" "${WORK_DIR}/samples/*.srb"
    "${WORK_DIR}/samples/*.pbf")
file(GLOB bad LIST_DIRECTORIES false "${WORK_DIR}/samples/bad/*")
list(LENGTH good goodCount)
list(LENGTH bad badCount)
if(goodCount EQUAL 0 OR badCount EQUAL 0)
    message(FATAL_ERROR "make-samples wrote ${goodCount} good and ${badCount} bad samples")
endif()

execute_process(COMMAND "${TAMSEL_TEXTURE}" convert --to ppm -j 3 -o "${WORK_DIR}/folder" "${WORK_DIR}/samples"
    RESULT_VARIABLE folderStatus ERROR_VARIABLE folderErrors)
if(NOT folderStatus EQUAL 0 OR NOT folderErrors STREQUAL "")
    message(SEND_ERROR "converting the folder exited ${folderStatus}: ${folderErrors}")
endif()

set(failures 0)
foreach(sample IN LISTS good)
    get_filename_component(stem "${sample}" NAME_WLE)
    set(expected "${WORK_DIR}/samples/${stem}.expected.ppm")
    set(painted "${WORK_DIR}/${stem}.painted.ppm")
    execute_process(COMMAND "${TAMSEL_TEXTURE}" convert --to ppm -o - "${sample}" OUTPUT_FILE "${painted}"
        RESULT_VARIABLE status)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${painted}" "${expected}" RESULT_VARIABLE differs)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK_DIR}/folder/${stem}.ppm" "${expected}"
        RESULT_VARIABLE folderDiffers)
    if(NOT status EQUAL 0 OR NOT differs EQUAL 0 OR NOT folderDiffers EQUAL 0)
        message(SEND_ERROR "${stem}: convert exited ${status}; canvas differs: ${differs}, "
            "in the folder's: ${folderDiffers}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

foreach(sample IN LISTS bad)
    get_filename_component(name "${sample}" NAME)
    execute_process(COMMAND "${TAMSEL_TEXTURE}" convert --to ppm -o - "${sample}" RESULT_VARIABLE status
        OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(FIND "${err}" "tamsel-texture: ${sample}: Not a valid texture file: " prefix)
    if(NOT status EQUAL 1 OR NOT prefix EQUAL 0 OR NOT err MATCHES "^[^\n]*: [a-z][^\n]*\n$"
            OR NOT out STREQUAL "")
        message(SEND_ERROR "bad/${name}: exited ${status}, printed '${out}' and '${err}'")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

math(EXPR total "${goodCount} + ${badCount}")
math(EXPR passed "${total} - ${failures}")
message(STATUS "${passed} of ${total} sample files as expected (${goodCount} good, ${badCount} bad)")
