# A bundle is bin/components/NAME.component/NAME.so: the SDK, the binding and the
# updater compiled in with hidden visibility, so that only the entry is exported
# and each bundle keeps its own factory list and globals.
function(qov_add_bundle name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LIBRARY_OUTPUT_DIRECTORY ${QOV_COMPONENTS_DIR}/${name}.component
    BUILD_RPATH "$ORIGIN/../../../lib"
    INSTALL_RPATH "$ORIGIN/../../../lib")
  target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--exclude-libs,ALL)
  target_link_libraries(${name} PRIVATE qov_binding qov_updater ${ARG_LIBS})
endfunction()

# A static library of a bundle's code, hidden like the bundle it is linked into,
# so that nothing of it leaks out of the bundle's entry.
function(qov_bundle_library name)
  add_library(${name} STATIC ${ARGN})
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
