# The Firebird 3 client library and its own C++ interface headers (firebird/Interface.h).
if(WIN32)
  # Windows loads the client library at run time (database/FbLibrary_win.cpp), so the
  # build needs only the headers, which are the same on every platform: those of the
  # host's firebird-dev, copied into a folder of their own so that no other host
  # header comes along into a mingw-w64 build.
  find_path(FIREBIRD_HOST_INCLUDE_DIR firebird/Interface.h PATHS /usr/include /usr/local/include
            NO_CMAKE_FIND_ROOT_PATH)
  if(NOT FIREBIRD_HOST_INCLUDE_DIR)
    message(FATAL_ERROR "Firebird's headers not found: run scripts/install-deps.sh (firebird-dev)")
  endif()
  set(FIREBIRD_INCLUDE_DIR ${CMAKE_BINARY_DIR}/firebird-include)
  file(COPY ${FIREBIRD_HOST_INCLUDE_DIR}/firebird DESTINATION ${FIREBIRD_INCLUDE_DIR})
  file(COPY ${FIREBIRD_HOST_INCLUDE_DIR}/ibase.h ${FIREBIRD_HOST_INCLUDE_DIR}/iberror.h
       DESTINATION ${FIREBIRD_INCLUDE_DIR})
  if(NOT TARGET Firebird::Client)
    add_library(Firebird::Client INTERFACE IMPORTED)
    set_target_properties(Firebird::Client PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${FIREBIRD_INCLUDE_DIR}")
  endif()
  return()
endif()

find_path(FIREBIRD_INCLUDE_DIR firebird/Interface.h PATHS /usr/include /usr/local/include)
find_library(FIREBIRD_CLIENT_LIBRARY NAMES fbclient libfbclient)
if(NOT FIREBIRD_INCLUDE_DIR OR NOT FIREBIRD_CLIENT_LIBRARY)
  message(FATAL_ERROR "Firebird client library not found: run scripts/install-deps.sh")
endif()
if(NOT TARGET Firebird::Client)
  add_library(Firebird::Client UNKNOWN IMPORTED)
  set_target_properties(Firebird::Client PROPERTIES
    IMPORTED_LOCATION "${FIREBIRD_CLIENT_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${FIREBIRD_INCLUDE_DIR}")
endif()
