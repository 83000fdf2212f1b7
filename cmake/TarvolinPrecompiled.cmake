# Precompiled headers. Every unit includes the standard library's strings
# and containers, and nearly every one Eigen: a target parses them once,
# not again in each of its units (about a second a unit on the project's
# machine). Test targets add GoogleTest (TESTS), the targets that link Qt
# its widget and painting headers (QT).
function(tarvolin_precompile target)
  cmake_parse_arguments(ARG "TESTS;QT" "" "" ${ARGN})
  set(headers <algorithm> <functional> <map> <memory> <optional> <stdexcept> <string>
      <string_view> <vector> <Eigen/Core>)
  if(ARG_TESTS)
    list(APPEND headers <gtest/gtest.h>)
  endif()
  if(ARG_QT)
    list(APPEND headers <QtCore/QString> <QtGui/QPainter> <QtWidgets/QWidget>)
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
