# Warning flags shared by every target of the project.
# vintrel_warnings(target) turns on the project's warnings as errors;
# vintrel_strict_warnings(target) adds the numeric conversions checks the engine keeps.
function(vintrel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports std::string concatenations inlined at -O3 as overlapping
    # copies (-Wrestrict, GCC bug 105329): a false alarm, kept as a warning.
    target_compile_options(${target} PRIVATE -Wno-error=restrict)
  endif()
endfunction()

function(vintrel_strict_warnings target)
  vintrel_warnings(${target})
  target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion -Wshadow)
endfunction()

if(VINTREL_SANITIZE)
  # GCC's "undefined" leaves out float-to-integer overflow, which the formatter's
  # conversion of its 18-digit integer could commit: named on its own.
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()
