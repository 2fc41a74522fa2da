# The help file vantic.hlp, built from its text source and put beside the programs, where the
# help viewer finds it. The build fails when the file cannot be made.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(CORVANE_HELP_SOURCE ${CMAKE_SOURCE_DIR}/resources/help/vantic.txt)
set(CORVANE_HELP_FILE ${CMAKE_BINARY_DIR}/vantic.hlp)
add_custom_command(
  OUTPUT ${CORVANE_HELP_FILE}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make_help.py
          ${CORVANE_HELP_SOURCE} ${CORVANE_HELP_FILE}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make_help.py ${CORVANE_HELP_SOURCE}
  COMMENT "Building the help file vantic.hlp"
  VERBATIM)
add_custom_target(corvane_help ALL DEPENDS ${CORVANE_HELP_FILE})
foreach(program corvane corvane_gui_tests)
  if(TARGET ${program})
    add_dependencies(${program} corvane_help)
  endif()
endforeach()

# The file read back by a reader of our own: its directory, topics, contexts and map.
add_test(NAME corvane_help_file
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/help/help_file_test.py
          ${CORVANE_HELP_FILE})
