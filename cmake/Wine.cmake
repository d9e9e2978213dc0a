# Where Wine is, for running this build's programs on Linux. Everything that
# runs them (ctest, scripts/, the end-to-end tests, bench/) reads these values
# from wine.env in the build folder, written here.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(luma_default_loader /usr/lib/wine/wine)
else()
  set(luma_default_loader /usr/lib/wine/wine64)
endif()
set(LUMA_WINE_LOADER ${luma_default_loader} CACHE FILEPATH
  "Wine loader that runs this build's programs (its folder also holds wineserver)")
set(LUMA_WINE_FONT_DIR /usr/share/wine/fonts CACHE PATH
  "Folder of Wine's Tahoma, made visible to fontconfig for the Wine sessions")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # Notepad, the probe and the prefix come from the 64-bit build: they run at
  # full speed where 32-bit code runs only under an emulator, and a 64-bit
  # probe reads a 32-bit program's windows through the shared wineserver.
  set(luma_default_tools ${CMAKE_SOURCE_DIR}/build/win64)
else()
  set(luma_default_tools ${CMAKE_BINARY_DIR})
endif()
set(LUMA_WINE_TOOLS_BUILD ${luma_default_tools} CACHE PATH
  "64-bit build whose probe.exe and Wine run the end-to-end sessions")

get_filename_component(luma_wine_dir ${LUMA_WINE_LOADER} DIRECTORY)
set(LUMA_WINESERVER ${luma_wine_dir}/wineserver)
# 32-bit Windows programs run only where Wine's 32-bit side can run (see
# scripts/setup.sh); without it their tests are skipped, never passed.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(LUMA_WINE_OPTIONAL 1)
else()
  set(LUMA_WINE_OPTIONAL 0)
endif()

# Where qemu runs Wine's 32-bit side, newer kernels leave it no room for the
# shared user data unless qemu reserves the guest's address space first;
# every 32-bit process then fails at its start, also those a 64-bit Wine
# starts while it prepares a prefix. Nothing reads this where the kernel
# runs 32-bit code itself.
set(LUMA_QEMU_RESERVED_VA 0xf7000000)
set(ENV{QEMU_RESERVED_VA} ${LUMA_QEMU_RESERVED_VA})

configure_file(${CMAKE_CURRENT_LIST_DIR}/fonts.conf.in ${CMAKE_BINARY_DIR}/fonts.conf @ONLY)
file(WRITE ${CMAKE_BINARY_DIR}/wine.env.tmp
  "LUMA_WINE_LOADER=${LUMA_WINE_LOADER}\n"
  "LUMA_WINESERVER=${LUMA_WINESERVER}\n"
  "LUMA_WINE_OPTIONAL=${LUMA_WINE_OPTIONAL}\n"
  "LUMA_WINE_TOOLS_BUILD=${LUMA_WINE_TOOLS_BUILD}\n"
  "LUMA_FONTCONFIG_FILE=${CMAKE_BINARY_DIR}/fonts.conf\n"
  "QEMU_RESERVED_VA=${LUMA_QEMU_RESERVED_VA}\n")
configure_file(${CMAKE_BINARY_DIR}/wine.env.tmp ${CMAKE_BINARY_DIR}/wine.env COPYONLY)

# ctest starts the Windows test programs through the build's loader.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
