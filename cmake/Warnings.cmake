option(TARNBOOK_WERROR "Treat compiler warnings as errors" OFF)

# Every target of the project compiles with the same warnings; ./test.sh makes them errors.
function(tarnbook_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(TARNBOOK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
