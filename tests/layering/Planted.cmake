# The layering check against includes planted one at a time in a tree of its
# own: each spelling that goes against the layering fails the check with its
# line named, and each that keeps to it passes.
# Usage: cmake -DCHECK=<CheckLayers.cmake> -DWORK=<folder> -P Planted.cmake
cmake_minimum_required(VERSION 3.25)
set(q "\"")
# file | include | what the check says ("" for nothing: it passes)
set(plants
  "src/measure/Planted.cpp|#include <QtWidgets/QPushButton>|(Qt outside its front-end)"
  "src/measure/Planted.cpp|#include <QPushButton>|(Qt outside its front-end)"
  "src/measure/Planted.cpp|#include ${q}../window/Form.h${q}|(measure may not use window)"
  "src/measure/Planted.cpp|#include ${q}./../qt/QtWindow.h${q}|(measure may not use qt)"
  "src/measure/Planted.cpp|#include <window/Form.h>|(measure may not use window)"
  "src/qt/Planted.cpp|#include ${q}../win32/Win32Window.h${q}|(qt may not use win32)"
  "tools/x/Planted.cpp|#include <windows.h>|"
  "src/measure/Planted.cpp|#include ${q}../link/Link.h${q}|"
  "src/measure/Planted.cpp|#include ${q}./Measurement.h${q}|"
  "src/qt/Planted.cpp|#include <QtWidgets/QPushButton>|")
set(failures "")
foreach(plant ${plants})
  string(REPLACE "|" ";" parts "${plant}")
  list(GET parts 0 file)
  list(GET parts 1 line)
  list(GET parts 2 said)
  file(REMOVE_RECURSE ${WORK})
  file(WRITE ${WORK}/${file} "${line}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK} -P ${CHECK}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(FIND "${out}" "${file}: ${line} ${said}" at)
  if(said STREQUAL "" AND NOT status EQUAL 0)
    list(APPEND failures "refused: ${file}: ${line}")
  elseif(NOT said STREQUAL "" AND (status EQUAL 0 OR at EQUAL -1))
    list(APPEND failures "let through: ${file}: ${line}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "The layering check:\n  ${text}")
endif()
