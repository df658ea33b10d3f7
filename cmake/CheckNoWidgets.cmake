# Fails when a source below DIR includes a Qt Widgets header: the subsystem libraries stay widget-free.
file(GLOB_RECURSE files ${DIR}/*.cpp ${DIR}/*.h)
foreach(f IN LISTS files)
  file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](QtWidgets/|QWidget|QApplication|QDialog|QMainWindow|QPushButton|QLabel|QMessageBox|QFileDialog)")
  if(hits)
    message(FATAL_ERROR "${f} includes a widget header (${hits}); widgets belong in ui/ and app/")
  endif()
endforeach()
