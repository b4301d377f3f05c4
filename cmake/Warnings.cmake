# pw_target_warnings(target): the warning set for the project's own code.
function(pw_target_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # g++ 12's flow-based bounds and overlap warnings misfire on std::vector and std::string
    # growth at -O2 and -O3; the sanitizer build and the fuzzer check the bounds for real.
    target_compile_options(${target} PRIVATE
      -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread -Wno-restrict)
    if(PW_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

# pw_layer_library(name SOURCES... [LINKS ...]): a static library of one layer with src/ on the
# include path, so that headers are included as "layer/Header.h". Those made in src/ are the
# layers, in order, for the check of their links (ToolkitLinks.cmake).
function(pw_layer_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
  pw_target_warnings(${name})
  if(CMAKE_CURRENT_SOURCE_DIR MATCHES "^${PROJECT_SOURCE_DIR}/src/")
    set_property(GLOBAL APPEND PROPERTY PW_LAYERS ${name})
  endif()
  pw_watch_links(${name})
endfunction()
