cmake_minimum_required(VERSION 3.25)
# Fails, naming each file and include, when a source of src/ or tools/
# includes a header of a layer above its own (cmake/Layers.cmake lists the
# layers). Run as: cmake -DZMP_SOURCE_DIR=<checkout> -P tests/LayeringCheck.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/Layers.cmake)
if(NOT ZMP_SOURCE_DIR)
  get_filename_component(ZMP_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
endif()
zmp_check_include_layers(${ZMP_SOURCE_DIR} errors)
if(errors)
  message("Includes of a higher layer:${errors}")
  message(FATAL_ERROR "A layer includes a header of a layer above it (see above)")
endif()
message(STATUS "Every include of src/ and tools/ goes to its own layer or below")
