# tamsel_export_folders(target FROM dir FOLDERS a b ...): the target's headers are included as "a/X.h",
# "b/Y.h", through an include root of the target's own that holds only those folders of `dir`. A file
# that includes a header of a library it does not use fails to compile, rather than at link time.
function(tamsel_export_folders target)
    cmake_parse_arguments(ARG "" "FROM" "FOLDERS" ${ARGN})
    set(root ${PROJECT_BINARY_DIR}/include-roots/${target})
    file(MAKE_DIRECTORY ${root})
    foreach(folder IN LISTS ARG_FOLDERS)
        file(CREATE_LINK ${ARG_FROM}/${folder} ${root}/${folder} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
