# libsodium, the one cryptographic library: the system's own on Linux, found with
# pkg-config; on Windows the static build of scripts/windows/libsodium.sh, from the folder
# it was installed to. Gives the target cofferly_sodium.
add_library(cofferly_sodium INTERFACE)
if(WIN32)
  set(COFFERLY_SODIUM_PREFIX "" CACHE PATH "libsodium built for Windows (scripts/windows/libsodium.sh)")
  find_path(COFFERLY_SODIUM_INCLUDE sodium.h PATHS ${COFFERLY_SODIUM_PREFIX}/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  find_library(COFFERLY_SODIUM_LIBRARY libsodium.a PATHS ${COFFERLY_SODIUM_PREFIX}/lib
               NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  target_include_directories(cofferly_sodium SYSTEM INTERFACE ${COFFERLY_SODIUM_INCLUDE})
  # Linked in, not imported from a DLL; its random numbers come from advapi32.
  target_compile_definitions(cofferly_sodium INTERFACE SODIUM_STATIC)
  target_link_libraries(cofferly_sodium INTERFACE ${COFFERLY_SODIUM_LIBRARY} advapi32)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(COFFERLY_LIBSODIUM REQUIRED IMPORTED_TARGET libsodium)
  target_link_libraries(cofferly_sodium INTERFACE PkgConfig::COFFERLY_LIBSODIUM)
endif()
