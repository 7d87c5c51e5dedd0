# kov_target_defaults(target): the project's warning and include settings.
function(kov_target_defaults target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${KOV_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra
                           $<$<BOOL:${KOV_WERROR}>:-Werror>)
  endif()
endfunction()
