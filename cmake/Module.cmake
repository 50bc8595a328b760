# The module LumenoExporter, built once per host release from the same sources.
# For each release R this makes:
#   lumeno_module_R    static library of the module's code (linked into in-process tests): the
#                      sources that read the release, and those of lumeno_module_common, which
#                      are compiled once for both releases
#   lumeno_exporter_R  the shared module, exporting only c4d_main
#   modules/R/LumenoExporter/   the module folder as the application finds it:
#       LumenoExporter.so, res/, Lumeno Exporter/
file(GLOB_RECURSE LUMENO_MODULE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/frame/*.cpp ${CMAKE_SOURCE_DIR}/export/*.cpp
  ${CMAKE_SOURCE_DIR}/tags/*.cpp ${CMAKE_SOURCE_DIR}/commands/*.cpp)
file(GLOB_RECURSE LUMENO_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*)

set(LUMENO_MODULES_DIR ${CMAKE_BINARY_DIR}/modules)

# Only these sources read the release (directly or through a header); they are compiled once per
# release. The rest is compiled once for both, without LUMENO_HOST_RELEASE: there -Wundef turns a
# test of it into an error, so a source that starts to read the release cannot slip in here.
set(LUMENO_MODULE_RELEASE_SOURCES
  ${CMAKE_SOURCE_DIR}/frame/module_entry.cpp ${CMAKE_SOURCE_DIR}/frame/module_state.cpp
  ${CMAKE_SOURCE_DIR}/frame/module_strings.cpp ${CMAKE_SOURCE_DIR}/frame/plugin_registration.cpp
  ${CMAKE_SOURCE_DIR}/export/material_export.cpp ${CMAKE_SOURCE_DIR}/export/primitives_export.cpp
  ${CMAKE_SOURCE_DIR}/tags/lumeno_material_helper_tag.cpp ${CMAKE_SOURCE_DIR}/tags/material_helper_search.cpp
  ${CMAKE_SOURCE_DIR}/tags/nk_data_catalogue.cpp)
list(REMOVE_ITEM LUMENO_MODULE_SOURCES ${LUMENO_MODULE_RELEASE_SOURCES})

add_library(lumeno_module_common OBJECT ${LUMENO_MODULE_SOURCES})
target_include_directories(lumeno_module_common PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(lumeno_module_common PUBLIC lumeno_sdk PkgConfig::TINYXML)
target_compile_options(lumeno_module_common PRIVATE ${LUMENO_WARNINGS} -Wundef)
set_target_properties(lumeno_module_common PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

foreach(rel ${LUMENO_RELEASES})
  add_library(lumeno_module_${rel} STATIC ${LUMENO_MODULE_RELEASE_SOURCES} $<TARGET_OBJECTS:lumeno_module_common>)
  target_compile_definitions(lumeno_module_${rel} PUBLIC LUMENO_HOST_RELEASE=${rel})
  target_include_directories(lumeno_module_${rel} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(lumeno_module_${rel} PUBLIC lumeno_sdk PkgConfig::TINYXML)
  target_compile_options(lumeno_module_${rel} PRIVATE ${LUMENO_WARNINGS})
  set_target_properties(lumeno_module_${rel} PROPERTIES
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)

  add_library(lumeno_exporter_${rel} MODULE ${CMAKE_SOURCE_DIR}/cmake/module_link_unit.cpp)
  target_link_libraries(lumeno_exporter_${rel} PRIVATE
    "$<LINK_LIBRARY:WHOLE_ARCHIVE,lumeno_module_${rel}>")
  target_link_options(lumeno_exporter_${rel} PRIVATE
    -Wl,--version-script=${CMAKE_SOURCE_DIR}/cmake/module_exports.map -Wl,--no-undefined)
  set_target_properties(lumeno_exporter_${rel} PROPERTIES
    OUTPUT_NAME LumenoExporter PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib/${rel}
    LINK_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/module_exports.map)

  # The module folder: rebuilt whenever the module or a resource changes.
  set(dir ${LUMENO_MODULES_DIR}/${rel}/LumenoExporter)
  set(stamp ${CMAKE_BINARY_DIR}/module_folder_${rel}.stamp)
  # The catalogue folder sits beside res/ in the module folder, not inside it.
  set(catalogue_copy "")
  if(EXISTS "${CMAKE_SOURCE_DIR}/res/Lumeno Exporter")
    set(catalogue_copy
      COMMAND ${CMAKE_COMMAND} -E copy_directory "${CMAKE_SOURCE_DIR}/res/Lumeno Exporter" "${dir}/Lumeno Exporter"
      COMMAND ${CMAKE_COMMAND} -E rm -rf "${dir}/res/Lumeno Exporter")
  endif()
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${dir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir} "${dir}/Lumeno Exporter"
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:lumeno_exporter_${rel}> ${dir}/LumenoExporter.so
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/res ${dir}/res
    ${catalogue_copy}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS lumeno_exporter_${rel} ${LUMENO_RESOURCE_FILES}
    COMMENT "Assembling module folder for host release ${rel}")
  add_custom_target(lumeno_module_folder_${rel} ALL DEPENDS ${stamp})
endforeach()
