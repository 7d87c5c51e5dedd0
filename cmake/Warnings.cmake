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

# kov_public_folder(target folder): src/<folder> on the include path of the
# target and of what links it, as "<folder>/X.h", and no other folder of src:
# through a link in the build tree, in a folder of the target's own. A
# library that includes the headers of one it does not link then fails to
# build.
function(kov_public_folder target folder)
  set(root ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
