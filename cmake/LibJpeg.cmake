# libjpeg-turbo from Debian's source package, built once per Windows tree as a static library.
include(ExternalProject)

set(KINOVELA_DEPS_SRC ${KINOVELA_ROOT}/build/deps/src)
execute_process(
  COMMAND ${KINOVELA_ROOT}/scripts/fetch-libjpeg.sh ${KINOVELA_DEPS_SRC}
  OUTPUT_VARIABLE LIBJPEG_SOURCE_DIR OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE fetch_result)
if(NOT fetch_result EQUAL 0 OR NOT EXISTS ${LIBJPEG_SOURCE_DIR}/jpeglib.h)
  message(FATAL_ERROR "libjpeg-turbo sources could not be fetched with apt-get source")
endif()

set(LIBJPEG_PREFIX ${CMAKE_BINARY_DIR}/deps/libjpeg)
ExternalProject_Add(libjpeg_build
  SOURCE_DIR ${LIBJPEG_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/deps/libjpeg-build
  INSTALL_DIR ${LIBJPEG_PREFIX}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DCMAKE_C_FLAGS=-Os
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
    -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF -DWITH_ARITH_ENC=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory <INSTALL_DIR>/lib <INSTALL_DIR>/include
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a <INSTALL_DIR>/lib/libjpeg.a
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/jconfig.h ${LIBJPEG_SOURCE_DIR}/jpeglib.h
            ${LIBJPEG_SOURCE_DIR}/jmorecfg.h ${LIBJPEG_SOURCE_DIR}/jerror.h <INSTALL_DIR>/include
  BUILD_BYPRODUCTS ${LIBJPEG_PREFIX}/lib/libjpeg.a)

file(MAKE_DIRECTORY ${LIBJPEG_PREFIX}/include)
add_library(libjpeg STATIC IMPORTED GLOBAL)
set_target_properties(libjpeg PROPERTIES
  IMPORTED_LOCATION ${LIBJPEG_PREFIX}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${LIBJPEG_PREFIX}/include)
add_dependencies(libjpeg libjpeg_build)
