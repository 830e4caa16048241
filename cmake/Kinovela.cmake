# Shared compile settings and the helpers every folder uses.

set(KINOVELA_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(KINOVELA_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")

add_library(kinovela_options INTERFACE)
target_compile_options(kinovela_options INTERFACE -Wall -Wextra -Wno-unused-parameter)
target_include_directories(kinovela_options INTERFACE ${KINOVELA_ROOT})

if(WIN32)
  target_compile_definitions(kinovela_options INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
  # Size matters for the shipped file: drop unused code and sections.
  target_compile_options(kinovela_options INTERFACE
    $<$<CONFIG:Release>:-Os -ffunction-sections -fdata-sections>)
  # Only system DLLs at run time: the C++ runtime and libgcc go in statically. The shipped
  # tree's compiler uses Win32 threads, so no POSIX thread library (some 30 KB) comes along;
  # the test twin keeps POSIX threads, which GoogleTest's std::mutex needs.
  target_link_options(kinovela_options INTERFACE -static -static-libgcc -static-libstdc++
    $<$<CONFIG:Release>:-s -Wl,--gc-sections>)
elseif(KINOVELA_SANITIZE)
  target_compile_options(kinovela_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(kinovela_options INTERFACE -fsanitize=address,undefined)
endif()

# A library of pure logic: no <windows.h>, built in every tree and tested natively.
function(kinovela_logic_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC kinovela_options)
endfunction()

# A library of Win32 code, built only in the Windows trees.
function(kinovela_win_library name)
  if(WIN32)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC kinovela_options)
  endif()
endfunction()

# Places a Windows program in dist/<tree>/ under its shipped file name.
function(kinovela_deliverable target file_name)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${file_name}
    RUNTIME_OUTPUT_DIRECTORY ${KINOVELA_ROOT}/dist/${KINOVELA_DIST})
  foreach(cfg Debug Release RelWithDebInfo MinSizeRel)
    string(TOUPPER ${cfg} CFG)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY_${CFG} ${KINOVELA_ROOT}/dist/${KINOVELA_DIST})
  endforeach()
endfunction()
