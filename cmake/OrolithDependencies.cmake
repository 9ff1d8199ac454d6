# Finds what the build links against and makes one imported target per
# library. When something is missing, configuring stops with one line that
# names the Debian package to install.
#
# FLTK is found by its header and libraries rather than through FLTK's own
# CMake package files: those import the `fluid` tool, which this build never
# runs, and fail when it is not installed.

# The hint goes out unformatted, as one line; CMake's error block after it
# would wrap it.
function(orolith_require found package what)
  if(NOT ${found})
    message(NOTICE "Orolith needs ${what}: install the Debian package ${package} (apt-get install ${package})")
    message(FATAL_ERROR "missing ${package}")
  endif()
endfunction()

# --- FLTK 1.3 with its OpenGL window ----------------------------------------
if(NOT TARGET Orolith::FLTK)
  find_path(OROLITH_FLTK_INCLUDE FL/Fl_Gl_Window.H)
  find_library(OROLITH_FLTK_LIB NAMES fltk)
  find_library(OROLITH_FLTK_GL_LIB NAMES fltk_gl)
  set(_fltk_found FALSE)
  if(OROLITH_FLTK_INCLUDE AND OROLITH_FLTK_LIB AND OROLITH_FLTK_GL_LIB)
    set(_fltk_found TRUE)
  endif()
  orolith_require(_fltk_found libfltk1.3-dev "FLTK 1.3 (FL/Fl_Gl_Window.H, libfltk, libfltk_gl)")
  add_library(Orolith::FLTK INTERFACE IMPORTED GLOBAL)
  set_target_properties(Orolith::FLTK PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${OROLITH_FLTK_INCLUDE}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${OROLITH_FLTK_INCLUDE}"
    INTERFACE_LINK_LIBRARIES "${OROLITH_FLTK_GL_LIB};${OROLITH_FLTK_LIB}")
endif()

# --- OpenGL, GLU and GLUT ------------------------------------------------------
set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL QUIET)
set(_gl_found FALSE)
if(TARGET OpenGL::GL)
  set(_gl_found TRUE)
endif()
orolith_require(_gl_found libgl-dev "OpenGL (GL/gl.h, libGL)")
set(_glu_found FALSE)
if(TARGET OpenGL::GLU)
  set(_glu_found TRUE)
endif()
orolith_require(_glu_found libglu1-mesa-dev "GLU (GL/glu.h, libGLU)")
find_package(GLUT QUIET)
set(_glut_found FALSE)
if(TARGET GLUT::GLUT)
  set(_glut_found TRUE)
endif()
orolith_require(_glut_found freeglut3-dev "GLUT (GL/freeglut.h, libglut)")

# --- EGL headers ----------------------------------------------------------------
# Only the headers: the off-screen context opens libEGL when --image asks
# for it, so the program starts without the library.
if(NOT TARGET Orolith::EGLHeaders)
  find_path(OROLITH_EGL_INCLUDE EGL/eglext.h)
  set(_egl_found FALSE)
  if(OROLITH_EGL_INCLUDE)
    set(_egl_found TRUE)
  endif()
  orolith_require(_egl_found libegl-dev "EGL headers (EGL/egl.h, EGL/eglext.h)")
  add_library(Orolith::EGLHeaders INTERFACE IMPORTED GLOBAL)
  set_target_properties(Orolith::EGLHeaders PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${OROLITH_EGL_INCLUDE}"
    INTERFACE_LINK_LIBRARIES "${CMAKE_DL_LIBS}")
endif()

# --- cairo and Pango: the report's charts and maps, and every PNG file -------
if(NOT TARGET Orolith::Cairo)
  find_package(PkgConfig QUIET)
  set(_cairo_found FALSE)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(OROLITH_CAIRO QUIET IMPORTED_TARGET GLOBAL cairo pangocairo)
    if(OROLITH_CAIRO_FOUND)
      set(_cairo_found TRUE)
    endif()
  endif()
  orolith_require(_cairo_found "libcairo2-dev libpango1.0-dev" "cairo and Pango (cairo.h, pangocairo.h)")
  add_library(Orolith::Cairo INTERFACE IMPORTED GLOBAL)
  set_target_properties(Orolith::Cairo PROPERTIES INTERFACE_LINK_LIBRARIES PkgConfig::OROLITH_CAIRO)
endif()
