# Fails when a source below ROOT uses a system message box: every message and question goes through the
# program's own boxes (ui/dialogs).
set(files "")
foreach(d IN ITEMS app ui)
  file(GLOB_RECURSE found ${ROOT}/${d}/*.cpp ${ROOT}/${d}/*.h)
  list(APPEND files ${found})
endforeach()
foreach(f IN LISTS files)
  file(STRINGS ${f} hits REGEX "QMessageBox|QErrorMessage")
  if(hits)
    message(FATAL_ERROR "${f} uses a system message box (${hits}); use ui/dialogs/MessageBox.h or ConfirmBox.h")
  endif()
endforeach()
