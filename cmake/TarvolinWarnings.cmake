# tarvolin_warnings(target): the project's warning set, errors in CI.
function(tarvolin_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    # GCC 12 reports string concatenations as overlapping copies (GCC bug 105329).
    $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
  if(TARVOLIN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
