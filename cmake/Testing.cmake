# What every test runs with, whoever starts ctest: OpenAL Soft's null backend, so no test opens
# a real sound device or fails for want of one. The display is the caller's (scripts/with-display.sh
# supplies a private Xvfb when none is set). A test's own ENVIRONMENT entries come later and win.
set(ZINDREL_TEST_ENVIRONMENT ALSOFT_DRIVERS=null)
# The leak checker of GCC 12 on this glibc keeps its own list of dynamically allocated
# thread-local blocks, taken from __tls_get_addr, and about every other run of a render test
# that list held a stale block whose walk at exit ended a passing test with "Tracer caught
# signal 11". Without the list the blocks are still found, through glibc's own pointers to them.
if(ZINDREL_SANITIZE)
    list(APPEND ZINDREL_TEST_ENVIRONMENT ASAN_OPTIONS=intercept_tls_get_addr=0)
endif()

# Gives the cases of a GoogleTest binary, discovered when ctest runs, the common environment
# followed by the given entries. (gtest_discover_tests cannot pass a list as a property value,
# so a script that ctest reads after the discovery sets it.) Call after gtest_discover_tests.
function(zindrel_gtest_environment target)
    set(environment ${ZINDREL_TEST_ENVIRONMENT} ${ARGN})
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_environment.cmake)
    file(WRITE ${script} "if(${target}_TESTS)\n"
        "    set_tests_properties(\${${target}_TESTS} PROPERTIES ENVIRONMENT [==[${environment}]==])\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
    zindrel_test_environment()
endfunction()

# Gives the tests that add_test() defined in this directory the common environment, once the
# directory is read to its end.
function(zindrel_test_environment)
    get_property(scheduled DIRECTORY PROPERTY ZINDREL_TEST_ENVIRONMENT_SCHEDULED)
    if(NOT scheduled)
        set_property(DIRECTORY PROPERTY ZINDREL_TEST_ENVIRONMENT_SCHEDULED ON)
        cmake_language(DEFER CALL _zindrel_test_environment_apply)
    endif()
endfunction()

function(_zindrel_test_environment_apply)
    get_property(tests DIRECTORY PROPERTY TESTS)
    foreach(test IN LISTS tests)
        get_test_property(${test} ENVIRONMENT own)
        set(environment ${ZINDREL_TEST_ENVIRONMENT})
        if(own)
            list(APPEND environment ${own})
        endif()
        set_tests_properties(${test} PROPERTIES ENVIRONMENT "${environment}")
    endforeach()
endfunction()
