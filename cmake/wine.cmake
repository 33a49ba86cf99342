# The cross-compiled suites run under Wine, all in one prefix that the run makes first and
# removes last. Wine reads the user's locale from LC_ALL and keeps it in the prefix, so every
# process there starts with the same one; console programs need no X display.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    message(FATAL_ERROR "The suites run under wine64, which runs 64-bit programs only")
endif()

set(resipa_wine_environment
    WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
    # Quiet, except for a DLL that a program needs and Wine cannot find (exit 53 otherwise
    # says nothing).
    WINEDEBUG=-all,err+module
    LC_ALL=C.UTF-8
    # No .NET or browser engine to offer, and no menu entries written into the user's home.
    WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d)
foreach(action make remove)
    add_test(NAME wine_prefix_${action}
        COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/wineprefix.sh
            ${action} ${RESIPA_WINE64} ${RESIPA_WINESERVER})
endforeach()
set_tests_properties(wine_prefix_make PROPERTIES FIXTURES_SETUP wine_prefix)
set_tests_properties(wine_prefix_remove PROPERTIES FIXTURES_CLEANUP wine_prefix)
set_tests_properties(wine_prefix_make wine_prefix_remove PROPERTIES
    ENVIRONMENT "${resipa_wine_environment}"
    ENVIRONMENT_MODIFICATION DISPLAY=unset:
    LABELS wine
    TIMEOUT 120)

# One CTest test per test in the sources, listed without starting Wine at build time. A filter
# that selects nothing would pass silently: that counts as a failure here.
function(resipa_add_wine_tests target)
    gtest_add_tests(TARGET ${target} TEST_LIST tests)
    set_tests_properties(${tests} PROPERTIES
        FIXTURES_REQUIRED wine_prefix
        ENVIRONMENT "${resipa_wine_environment}"
        ENVIRONMENT_MODIFICATION DISPLAY=unset:
        FAIL_REGULAR_EXPRESSION "\\] 0 tests from 0 test suites ran"
        LABELS wine
        TIMEOUT 60)
endfunction()
