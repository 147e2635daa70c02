# Test helpers shared by every module's tests.
#
# quorvel_native_test(NAME SOURCES... LIBS ...)  a GoogleTest executable of the portable core;
#     each case is its own ctest test (native processes start in milliseconds). In the win64
#     build the same tests run as one Wine test.
# quorvel_wine_test(NAME SOURCES... LIBS ...)    a GoogleTest executable for Windows; run under
#     Wine as one ctest test, since each Wine start costs about a second.

if(QUORVEL_TESTS)
    if(WIN32)
        # Debian ships GoogleTest's sources; build them with the cross compiler.
        if(NOT TARGET gtest)
            add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        endif()
        set(QUORVEL_GTEST_LIBS gtest gmock)
    else()
        find_package(GTest REQUIRED)
        include(GoogleTest)
        set(QUORVEL_GTEST_LIBS GTest::gtest GTest::gmock)
    endif()
endif()

function(quorvel_native_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    if(WIN32)
        # The portable core's tests also run once under Wine, built by the cross compiler.
        quorvel_wine_test(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS})
        return()
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${QUORVEL_GTEST_LIBS} GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30)
endfunction()

function(quorvel_wine_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main ${QUORVEL_GTEST_LIBS})
    if(T_DEPENDS)
        add_dependencies(${name} ${T_DEPENDS})
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 900 RESOURCE_LOCK wine-desktop)
endfunction()
