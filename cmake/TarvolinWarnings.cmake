# tarvolin_warnings(target): the project's warning set, errors in CI.
function(tarvolin_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    # GCC 12 reports string concatenations as overlapping copies (GCC bug 105329).
    $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>
    # With the standard headers precompiled (TarvolinPrecompiled.cmake), GCC 12
    # no longer sees that the std::string code it inlines comes from a system
    # header, and reports that code's copies as reaching past the end of their
    # objects (GCC bug 105651). Bounds are checked where it matters, at run
    # time, by the sanitizer pass.
    "$<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-stringop-overflow;-Wno-stringop-overread;-Wno-array-bounds>")
  if(TARVOLIN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
