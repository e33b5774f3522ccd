# Warning flags shared by every target of the project.
# vintrel_warnings(target) turns on the project's warnings as errors;
# vintrel_strict_warnings(target) adds the numeric conversions checks the engine keeps.
function(vintrel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

function(vintrel_strict_warnings target)
  vintrel_warnings(${target})
  target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion -Wshadow)
endfunction()

if(VINTREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
