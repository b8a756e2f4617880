# Shared build rules. Each source folder is one static library made of every .cpp in it,
# so adding a file never means editing a list.

set(LEDGERLY_WARNINGS -Wall -Wextra -Wno-unused-parameter)
if(LEDGERLY_WERROR)
  list(APPEND LEDGERLY_WARNINGS -Werror)
endif()
if(LEDGERLY_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# lld links the large sanitizer builds several times faster than the default linker.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  find_program(LEDGERLY_LLD ld.lld)
  if(LEDGERLY_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
endif()

function(lg_apply_warnings target)
  target_compile_options(${target} PRIVATE ${LEDGERLY_WARNINGS})
endfunction()

# lg_library(<name> DEPS <targets...>): static library of every .cpp in the current folder.
function(lg_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  lg_apply_warnings(${name})
endfunction()

# lg_tests(<libs...>): one test executable per *_test.cpp in the current folder.
function(lg_tests)
  cmake_parse_arguments(ARG "" "LABEL" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  foreach(src ${tests})
    get_filename_component(base ${src} NAME_WE)
    set(exe ${ARG_LABEL}_${base})
    add_executable(${exe} ${src} ${support})
    target_link_libraries(${exe} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
    target_include_directories(${exe} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    lg_apply_warnings(${exe})
    add_test(NAME ${exe} COMMAND ${exe} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set_tests_properties(${exe} PROPERTIES LABELS ${ARG_LABEL}
      ENVIRONMENT "LEDGERLY_SOURCE_DIR=${PROJECT_SOURCE_DIR};LEDGERLY_BIN_DIR=${CMAKE_BINARY_DIR}/bin;QT_QPA_PLATFORM=offscreen")
  endforeach()
endfunction()
