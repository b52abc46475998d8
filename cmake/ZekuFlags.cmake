# Warning budget (zero) and the sanitizer switches shared by every target.
# The project's own scripts and CI build with ZEKU_WERROR=ON; a plain build
# (a packager's, with another compiler version) only warns, so a new
# compiler's false positive never stops it.
option(ZEKU_WERROR "Treat warnings as errors" OFF)
add_compile_options(-Wall -Wextra)
if(ZEKU_WERROR)
  add_compile_options(-Werror)
endif()
add_compile_definitions($<$<CONFIG:Debug>:ZEKU_DEBUG=1>)

if(ZEKU_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()
if(ZEKU_FUZZ)
  # Coverage for every library; the fuzz programs add libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(ZEKU_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# zeku_library(name SOURCES... [DEPS ...]): one static library per subsystem
# folder, with the repository root as its include root.
function(zeku_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  # The engine and its back ends report errors as values; no exceptions.
  target_compile_options(${name} PRIVATE -fno-exceptions)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()
