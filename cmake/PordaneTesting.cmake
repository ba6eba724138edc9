# pordane_add_test(<name> SOURCES <files...> LIBS <targets...> [WIDGETS] [PROPERTIES <ctest properties...>])
# One GoogleTest executable; its cases are registered with CTest one by one.
# WIDGETS gives it a QApplication on the offscreen platform (tests/support/QtTestMain.cpp).
# PROPERTIES go to every case, e.g. FIXTURES_REQUIRED firebird_server for the loopback server.
function(pordane_add_test name)
  cmake_parse_arguments(T "WIDGETS" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_WIDGETS)
    target_link_libraries(${name} PRIVATE pordane_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    # One value per property: test discovery splits a list value apart, which would
    # shift every property after it (TIMEOUT and FIXTURES_REQUIRED were being lost).
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT_MODIFICATION "LC_ALL=set:C.UTF-8"
               TIMEOUT 300
               ${T_PROPERTIES})
endfunction()
