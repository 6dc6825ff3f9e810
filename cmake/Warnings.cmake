# Our own targets build with every common warning. TAMSEL_WERROR makes a warning fail the build: the
# developers' presets (dev, asan, fuzz) switch it on; a release build with another compiler, whose
# warnings nobody here has seen, builds without it.
option(TAMSEL_WERROR "Treat warnings in our own code as errors" OFF)

function(tamsel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
        -Wno-sign-conversion $<$<BOOL:${TAMSEL_WERROR}>:-Werror>)
endfunction()
