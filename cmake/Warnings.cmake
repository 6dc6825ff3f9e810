# Our own targets build with every common warning, and a warning fails the build.
function(tamsel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -Wshadow -Wconversion
        -Wno-sign-conversion)
endfunction()
