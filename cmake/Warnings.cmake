# kov_target_defaults(target): the project's warning and include settings.
function(kov_target_defaults target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${KOV_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra
                           $<$<BOOL:${KOV_WERROR}>:-Werror>)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND WIN32)
      # GCC 12 reports false overlaps inside std::string's inlined copies
      # when optimising for this target (GCC bug 105329).
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
  endif()
endfunction()
