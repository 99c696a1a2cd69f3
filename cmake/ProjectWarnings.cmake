# Warnings are errors in our own targets only; third-party headers come in as system includes.
# -Wrestrict is off: g++ 12 reports false overlaps inside std::string at -O3 (GCC bug 105329);
# clang has no such warning.
function(pq_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
