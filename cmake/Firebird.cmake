# The Firebird 3 client library and its own C++ interface headers (firebird/Interface.h).
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
