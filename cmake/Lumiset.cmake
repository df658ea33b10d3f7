# Shared build helpers.

function(lumiset_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wpedantic)
  if(LUMISET_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# lumiset_subsystem(<name> [DEPS targets...])
# A static library from every source file of the calling folder (recursively). It links Qt Core and
# Gui but never Qt Widgets; a build step refuses widget includes in its sources.
function(lumiset_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui ${ARG_DEPS})
  lumiset_warnings(${name})
  add_custom_target(${name}_no_widgets
    COMMAND ${CMAKE_COMMAND} -DDIR=${CMAKE_CURRENT_SOURCE_DIR} -P ${PROJECT_SOURCE_DIR}/cmake/CheckNoWidgets.cmake
    COMMENT "Checking that ${name} uses no widgets" VERBATIM)
  add_dependencies(${name} ${name}_no_widgets)
endfunction()

# lumiset_test_suite(<name> [WIDGETS] [DEPS targets...])
# One GoogleTest executable from every source of the calling folder, run under a Qt GUI application
# (a QApplication with WIDGETS, for the suites that drive windows).
function(lumiset_test_suite name)
  cmake_parse_arguments(ARG "WIDGETS" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(ARG_WIDGETS)
    target_link_libraries(${name} PRIVATE lumiset_test_support_widgets ${ARG_DEPS})
  else()
    target_link_libraries(${name} PRIVATE lumiset_test_support ${ARG_DEPS})
  endif()
  lumiset_warnings(${name})
  # The test main sets the environment (offscreen Qt, silent audio, the program folder of this build).
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
endfunction()
