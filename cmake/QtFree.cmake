# Guards the toolkit-free layers: configuring fails if one of them links anything from Qt.
function(corvani_require_qt_free)
  set_property(GLOBAL APPEND PROPERTY CORVANI_QT_FREE_TARGETS ${ARGN})
endfunction()

# Runs when the whole project has been read, so a link added anywhere later is still caught.
function(corvani_check_qt_free)
  get_property(targets GLOBAL PROPERTY CORVANI_QT_FREE_TARGETS)
  foreach(target IN LISTS targets)
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(libs ${target} ${property})
      if(libs AND libs MATCHES "Qt")
        message(FATAL_ERROR "${target} must stay free of Qt, but its ${property} is: ${libs}")
      endif()
    endforeach()
  endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL corvani_check_qt_free)
