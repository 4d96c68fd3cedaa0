# Reads the host's service list (plugin/frame/host_services.def) so that the
# export tables of the substitute host are made from the same lines as the
# plug-in's cells.
function(kamoria_service_ordinals out)
  file(STRINGS "${PROJECT_SOURCE_DIR}/plugin/frame/host_services.def" lines
       REGEX "^HOST_(SERVICE|SERVICE_PRINTF|FEATURE_CHECK)\\(")
  set(ordinals "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^HOST_FEATURE_CHECK\\( *([0-9]+),")
      list(APPEND ordinals "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^HOST_SERVICE(_PRINTF)?\\( *[0-9]+, *([0-9]+),")
      list(APPEND ordinals "${CMAKE_MATCH_2}")
    endif()
  endforeach()
  set(${out} "${ordinals}" PARENT_SCOPE)
endfunction()

set(WELTOR_CONTROL_EXPORTS weltorState weltorReset weltorSendEvent weltorWriteSampleData)

# add_weltor_host(<name> [LACKS <ordinal>...])
# A substitute host module WELTOR in hosts/<name>/, exporting every service
# by number except the ones it lacks.
function(add_weltor_host name)
  cmake_parse_arguments(ARG "" "" "LACKS" ${ARGN})
  kamoria_service_ordinals(ordinals)
  foreach(missing IN LISTS ARG_LACKS)
    list(REMOVE_ITEM ordinals "${missing}")
  endforeach()

  set(target weltor_${name})
  add_library(${target} SHARED $<TARGET_OBJECTS:weltor_objects>)
  target_link_libraries(${target} PRIVATE weltor_objects)
  set(dir "${CMAKE_BINARY_DIR}/hosts/${name}")
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME WELTOR PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${dir}" RUNTIME_OUTPUT_DIRECTORY "${dir}" ARCHIVE_OUTPUT_DIRECTORY "${dir}")
  if(WIN32)
    set(def "LIBRARY WELTOR.dll\nEXPORTS\n")
    foreach(ordinal IN LISTS ordinals)
      string(APPEND def "  ordinal_${ordinal} @${ordinal} NONAME\n")
    endforeach()
    # Named exports get numbers of their own, above the services: left to the
    # linker they would take the first free numbers, which are a service's
    # in a host that lacks it.
    set(control_ordinal 60001)
    foreach(control IN LISTS WELTOR_CONTROL_EXPORTS)
      string(APPEND def "  ${control} @${control_ordinal}\n")
      math(EXPR control_ordinal "${control_ordinal} + 1")
    endforeach()
    file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/hosts/${name}.def" CONTENT "${def}")
    target_sources(${target} PRIVATE "${CMAKE_BINARY_DIR}/hosts/${name}.def")
    target_link_options(${target} PRIVATE -static)
  else()
    set(map "{\n  global:\n")
    foreach(ordinal IN LISTS ordinals)
      string(APPEND map "    ordinal_${ordinal};\n")
    endforeach()
    foreach(control IN LISTS WELTOR_CONTROL_EXPORTS)
      string(APPEND map "    ${control};\n")
    endforeach()
    string(APPEND map "  local: *;\n};\n")
    file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/hosts/${name}.map" CONTENT "${map}")
    target_link_options(${target} PRIVATE
      "-Wl,--version-script=${CMAKE_BINARY_DIR}/hosts/${name}.map" -Wl,-soname,WELTOR.so)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${CMAKE_BINARY_DIR}/hosts/${name}.map")
  endif()
  set_property(GLOBAL APPEND PROPERTY WELTOR_HOSTS ${target})
endfunction()
