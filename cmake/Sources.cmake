# talvessa_platform_sources(<out-var> <dir>)
# Collects the .cpp files of a folder for the platform being built. Platform seams are one header
# and two implementation files: `*_win32.cpp` builds only for Windows, `*_portable.cpp` only
# elsewhere; every other file builds everywhere.
function(talvessa_platform_sources out dir)
  file(GLOB sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_portable\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()
