# The engine library: base, workspace, data, engine and the etymology
# database, every file format and every learning rule, on Qt Core (and the
# workbook libraries) only. The program's build and the fuzz build make it
# from this one source list, so a file added to the engine, or a library the
# engine starts to need, reaches both.
include_guard(GLOBAL)
get_filename_component(TESSARION_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

find_package(Qt6 6.4 REQUIRED COMPONENTS Core)
find_package(PkgConfig REQUIRED)
if(NOT TARGET PkgConfig::FREEXL)
  pkg_check_modules(FREEXL REQUIRED IMPORTED_TARGET freexl)
endif()
if(NOT TARGET PkgConfig::GSF)
  pkg_check_modules(GSF REQUIRED IMPORTED_TARGET libgsf-1)
endif()

# A static library named `name` holding the engine.
function(tessarion_add_core name)
  file(GLOB sources CONFIGURE_DEPENDS
    ${TESSARION_ROOT}/base/*.cpp ${TESSARION_ROOT}/workspace/*.cpp ${TESSARION_ROOT}/data/*.cpp
    ${TESSARION_ROOT}/engine/*.cpp ${TESSARION_ROOT}/etymology/db/*.cpp)
  # The version of the project line (PROJECT_VERSION), set in that one place.
  configure_file(${TESSARION_ROOT}/base/Version.cpp.in ${CMAKE_CURRENT_BINARY_DIR}/generated/Version.cpp @ONLY)
  add_library(${name} STATIC ${sources} ${CMAKE_CURRENT_BINARY_DIR}/generated/Version.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC ${TESSARION_ROOT})
  target_link_libraries(${name} PUBLIC Qt6::Core PRIVATE PkgConfig::FREEXL PkgConfig::GSF)
endfunction()
