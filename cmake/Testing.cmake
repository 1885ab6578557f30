# What every test runs with, whoever starts ctest: OpenAL Soft's null backend, so no test opens
# a real sound device or fails for want of one. The display is the caller's (scripts/with-display.sh
# supplies a private Xvfb when none is set). A test's own ENVIRONMENT entries come later and win.
set(ZINDREL_TEST_ENVIRONMENT ALSOFT_DRIVERS=null)
# Under the sanitizers Mesa's software renderer draws on the calling thread. With its worker
# threads running, the GCC 12 leak checker's walk of dynamically allocated thread-local blocks at
# exit reads a stale block on this glibc about every other run and ends the test with "Tracer
# caught signal 11" after every check has passed. The pictures are the same either way.
if(ZINDREL_SANITIZE)
    list(APPEND ZINDREL_TEST_ENVIRONMENT LP_NUM_THREADS=0)
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
