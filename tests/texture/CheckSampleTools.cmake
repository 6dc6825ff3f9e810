# cmake -DMAKE_SAMPLES=... -DTEXTURE_INFO=... -DWORK_DIR=... -P CheckSampleTools.cmake
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

set(failures 0)
foreach(sample IN LISTS good)
    get_filename_component(stem "${sample}" NAME_WLE)
    set(painted "${WORK_DIR}/${stem}.painted.ppm")
    execute_process(COMMAND "${TEXTURE_INFO}" --ppm "${sample}" OUTPUT_FILE "${painted}" RESULT_VARIABLE status)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${painted}" "${WORK_DIR}/samples/${stem}.expected.ppm"
        RESULT_VARIABLE differs)
    if(NOT status EQUAL 0 OR NOT differs EQUAL 0)
        message(SEND_ERROR "${stem}: texture-info exited ${status}; canvas differs: ${differs}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

foreach(sample IN LISTS bad)
    get_filename_component(name "${sample}" NAME)
    execute_process(COMMAND "${TEXTURE_INFO}" "${sample}" RESULT_VARIABLE status OUTPUT_VARIABLE out
        ERROR_VARIABLE err)
    if(NOT status EQUAL 1 OR NOT err STREQUAL "Not a valid texture file\n" OR NOT out STREQUAL "")
        message(SEND_ERROR "bad/${name}: exited ${status}, printed '${out}' and '${err}'")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

math(EXPR total "${goodCount} + ${badCount}")
math(EXPR passed "${total} - ${failures}")
message(STATUS "${passed} of ${total} sample files as expected (${goodCount} good, ${badCount} bad)")
