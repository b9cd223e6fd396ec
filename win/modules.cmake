# The modules alone, built on Windows with Visual C++ against a host's own SDK:
#   cmake -S . -B build-win -A Win32 -DORBITER_SDK_DIR=<Orbiter>/Orbitersdk
#   cmake --build build-win --config Release
# (-A x64 with a 64-bit host's SDK). The modules link the SDK's Orbiter.lib and
# Orbitersdk.lib; the latter brings the library entry point and GetModuleVersion,
# and ModuleDate comes from the SDK's header (ORBITER_MODULE), so the project's own
# glue (frame/module_glue.cpp, frame/module_dates.cpp) steps aside. No simulator,
# tests or Cairo. Included by the top-level CMakeLists.txt when ORBITER_SDK_DIR is set.
if(NOT MSVC)
  message(FATAL_ERROR "ORBITER_SDK_DIR builds the modules with Visual C++ on Windows; "
    "elsewhere cross-build them with: bash tools/windows.sh")
endif()
if(NOT EXISTS "${ORBITER_SDK_DIR}/include/OrbiterAPI.h")
  message(FATAL_ERROR "ORBITER_SDK_DIR=${ORBITER_SDK_DIR} has no include/OrbiterAPI.h: "
    "pass the Orbitersdk folder of the Orbiter installation")
endif()
find_library(ORBITER_LIB Orbiter PATHS "${ORBITER_SDK_DIR}/lib" NO_DEFAULT_PATH)
find_library(ORBITERSDK_LIB Orbitersdk PATHS "${ORBITER_SDK_DIR}/lib" NO_DEFAULT_PATH)
if(NOT ORBITER_LIB OR NOT ORBITERSDK_LIB)
  message(FATAL_ERROR "${ORBITER_SDK_DIR}/lib must hold Orbiter.lib and Orbitersdk.lib")
endif()

file(GLOB PLUGIN_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/frame/*.cpp ${CMAKE_SOURCE_DIR}/control/*.cpp
  ${CMAKE_SOURCE_DIR}/landing/*.cpp ${CMAKE_SOURCE_DIR}/display/*.cpp
  ${CMAKE_SOURCE_DIR}/mfd/*.cpp)
file(GLOB PLUGIN_GENERATION_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/frame/module_*.cpp)
list(REMOVE_ITEM PLUGIN_SOURCES ${PLUGIN_GENERATION_SOURCES})

add_library(tessarc_plugin STATIC ${PLUGIN_SOURCES})
# The SDK's headers, not host/: the modules are built against the host's own.
target_include_directories(tessarc_plugin PUBLIC ${CMAKE_SOURCE_DIR})
target_include_directories(tessarc_plugin SYSTEM PUBLIC "${ORBITER_SDK_DIR}/include")
target_compile_definitions(tessarc_plugin PUBLIC TESSARC_ORBITERSDK_LIB=1 _CRT_SECURE_NO_WARNINGS)
target_compile_options(tessarc_plugin PUBLIC /W3)

# The 2010 module only where that host exists: 32-bit.
set(GENERATIONS 2016)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(GENERATIONS 2010 2016)
endif()
foreach(GEN ${GENERATIONS})
  if(GEN STREQUAL "2016")
    set(IS2016 1)
  else()
    set(IS2016 0)
  endif()
  add_library(TessarcMFD_${GEN} SHARED ${PLUGIN_GENERATION_SOURCES})
  target_compile_definitions(TessarcMFD_${GEN} PRIVATE TESSARC_HOST_2016=${IS2016})
  target_link_libraries(TessarcMFD_${GEN} PRIVATE tessarc_plugin ${ORBITER_LIB} ${ORBITERSDK_LIB})
  # The generator expression keeps Visual Studio from adding a folder per configuration.
  set_target_properties(TessarcMFD_${GEN} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY $<1:${CMAKE_BINARY_DIR}/Modules/Plugin>)
endforeach()
