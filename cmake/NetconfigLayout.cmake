# Where the emulated Windows system folder lives, relative to the folder of
# the executables. The build tree copies the install tree's shape, so the
# same relative path works from build/bin and from an installed bin.
set(NETCONFIG_SYSTEM_SUBDIR "${CMAKE_INSTALL_LIBDIR}/netconfig/system32")
file(RELATIVE_PATH NETCONFIG_SYSTEM_DIR_FROM_BIN
     "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${NETCONFIG_SYSTEM_SUBDIR}")
set(NETCONFIG_SYSTEM_BUILD_DIR "${CMAKE_BINARY_DIR}/${NETCONFIG_SYSTEM_SUBDIR}")

# Data shared by the program (translations), same idea; a Windows program
# keeps it in its own folder, so that folder runs wherever it is copied.
if(WIN32)
  set(NETCONFIG_DATA_SUBDIR "${CMAKE_INSTALL_BINDIR}")
else()
  set(NETCONFIG_DATA_SUBDIR "${CMAKE_INSTALL_DATADIR}/netconfig")
endif()
file(RELATIVE_PATH NETCONFIG_DATA_DIR_FROM_BIN
     "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${NETCONFIG_DATA_SUBDIR}")
set(NETCONFIG_DATA_BUILD_DIR "${CMAKE_BINARY_DIR}/${NETCONFIG_DATA_SUBDIR}")

# An executable that resolves "shell32" at run time needs an RPATH (not a
# RUNPATH): dlopen of a bare name ignores RUNPATH of the executable.
function(netconfig_use_system_rpath target)
  set_target_properties(${target} PROPERTIES
    BUILD_RPATH "\$ORIGIN/${NETCONFIG_SYSTEM_DIR_FROM_BIN}"
    INSTALL_RPATH "\$ORIGIN/${NETCONFIG_SYSTEM_DIR_FROM_BIN}")
  if(NOT WIN32)
    target_link_options(${target} PRIVATE "-Wl,--disable-new-dtags")
  endif()
endfunction()

# For the programs whose start-up is measured (bench/): the one relative
# RPATH entry in the build tree as installed (each entry is searched for
# every library the program loads, the system's too), and no dependency
# the program itself does not use.
function(netconfig_lean_link target)
  netconfig_use_system_rpath(${target})
  set_target_properties(${target} PROPERTIES BUILD_WITH_INSTALL_RPATH ON)
  if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_link_options(${target} PRIVATE "-Wl,-O1" "-Wl,--as-needed")
  endif()
endfunction()
