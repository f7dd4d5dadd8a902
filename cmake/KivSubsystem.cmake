# kiv_subsystem(NAME [SOURCES file...] [DEPENDS target...] [LIBS lib...])
#
# One room of src/ as the static library kiv_NAME. Its headers are visible as "NAME/File.h" to
# the library itself and to everything that links it, and to nothing else: each room gets an
# include folder of its own that holds only a link to its source folder, so a header of a room
# that is not a dependency cannot be found. Without SOURCES every .cpp of the folder is built.
function(kiv_subsystem name)
  cmake_parse_arguments(arg "" "" "SOURCES;DEPENDS;LIBS" ${ARGN})
  if(NOT arg_SOURCES)
    file(GLOB arg_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_library(kiv_${name} STATIC ${arg_SOURCES})
  set(view ${PROJECT_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${view})
  if(NOT EXISTS ${view}/${name})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${view}/${name} SYMBOLIC)
  endif()
  target_include_directories(kiv_${name} PUBLIC ${view})
  target_link_libraries(kiv_${name} PUBLIC ${arg_DEPENDS} ${arg_LIBS})
  target_link_libraries(kivcore INTERFACE kiv_${name})
endfunction()
