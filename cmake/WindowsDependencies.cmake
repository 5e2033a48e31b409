# What a Windows build needs from the build machine: the header-only libraries, reached through a
# folder of links to just those headers (the cross compiler must never see the machine's own
# /usr/include), and GoogleTest built for the target from its source package.

set(VARNOK_WINDOWS_HEADERS ${CMAKE_BINARY_DIR}/windows-headers)
file(MAKE_DIRECTORY ${VARNOK_WINDOWS_HEADERS})
foreach(header asio.hpp asio fast_float)
  if(NOT EXISTS /usr/include/${header})
    message(FATAL_ERROR "/usr/include/${header} is missing: run scripts/install-deps.sh")
  endif()
  file(CREATE_LINK /usr/include/${header} ${VARNOK_WINDOWS_HEADERS}/${header} SYMBOLIC)
endforeach()
# Every target may use them (fast_float in the calibration reader, Asio in the link and the tools).
include_directories(SYSTEM ${VARNOK_WINDOWS_HEADERS})

# Every file sees the same Windows headers: Windows 10 is the oldest system served, no min/max
# macros, and no old winsock.h pulled in by windows.h before Asio's own socket headers.
add_compile_definitions(_WIN32_WINNT=0x0A00 WIN32_LEAN_AND_MEAN NOMINMAX)

# Asio's Windows sockets.
set(VARNOK_WINDOWS_ASIO_INCLUDE ${VARNOK_WINDOWS_HEADERS})
set(VARNOK_WINDOWS_ASIO_DEFINITIONS)
set(VARNOK_WINDOWS_ASIO_LIBRARIES ws2_32 mswsock)

if(VARNOK_BUILD_TESTS)
  # Test lists are read when the tests run, so that building starts no Windows program.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
  set(VARNOK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source folder")
  if(NOT EXISTS ${VARNOK_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's source is missing at ${VARNOK_GOOGLETEST_SOURCE}: install the package googletest")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VARNOK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(lib gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
endif()
