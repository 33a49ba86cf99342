# The cross-compiled suites run under Wine, in prefixes that a run makes first and removes last.
# Wine takes the user's locale from LC_ALL and keeps it in the prefix, so every process in one
# prefix starts with the same LC_ALL. Console programs need no X display.
if(NOT RESIPA_WINE64 OR NOT RESIPA_WINESERVER)
    message(FATAL_ERROR "The Windows suites run under Wine: install wine64 and wine")
endif()
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    message(FATAL_ERROR "The suites run under wine64, which runs 64-bit programs only")
endif()

# resipa_wine_prefix(<name> <LC_ALL> [DISPLAY]): the fixture <name>, a prefix of that name in the
# build folder made before and removed after the tests that require it. With DISPLAY the prefix,
# and each program run in it, gets an X server of its own (Xvfb) with a window manager
# (openbox), started with the prefix and stopped after it, by PID.
function(resipa_wine_prefix name locale)
    set(environment
        WINEPREFIX=${CMAKE_BINARY_DIR}/${name}
        # The folder that each server start leaves among the temporary files goes with the
        # prefix.
        TMPDIR=${CMAKE_BINARY_DIR}/${name}/tmp
        # Quiet, except for a DLL that a program needs and Wine cannot find (exit 53 otherwise
        # says nothing).
        WINEDEBUG=-all,err+module
        LC_ALL=${locale}
        # No .NET or browser engine to offer, and no menu entries written into the user's home.
        WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d)
    if("DISPLAY" IN_LIST ARGN)
        list(APPEND environment RESIPA_X=1)
    endif()
    set_property(GLOBAL PROPERTY resipa_${name}_environment "${environment}")
    foreach(action make remove)
        add_test(NAME ${name}_${action}
            COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/wineprefix.sh
                ${action} ${RESIPA_WINE64} ${RESIPA_WINESERVER})
    endforeach()
    set_tests_properties(${name}_make PROPERTIES FIXTURES_SETUP ${name})
    set_tests_properties(${name}_remove PROPERTIES FIXTURES_CLEANUP ${name})
    set_tests_properties(${name}_make ${name}_remove PROPERTIES
        ENVIRONMENT "${environment}"
        ENVIRONMENT_MODIFICATION DISPLAY=unset:
        LABELS wine
        TIMEOUT 120)
endfunction()

# resipa_add_wine_tests(<target> <prefix> [<suffix>]): one CTest test per test in the target's
# sources, run in that prefix, named with the suffix; listed without starting Wine at build
# time. A filter that selects nothing would pass silently: that counts as a failure here.
function(resipa_add_wine_tests target prefix)
    get_property(environment GLOBAL PROPERTY resipa_${prefix}_environment)
    gtest_add_tests(TARGET ${target} TEST_LIST tests TEST_SUFFIX "${ARGN}")
    set_tests_properties(${tests} PROPERTIES
        FIXTURES_REQUIRED ${prefix}
        ENVIRONMENT "${environment}"
        ENVIRONMENT_MODIFICATION DISPLAY=unset:
        FAIL_REGULAR_EXPRESSION "\\] 0 tests from 0 test suites ran"
        LABELS wine
        TIMEOUT 60)
    if("RESIPA_X=1" IN_LIST environment)
        # On the prefix's display, one at a time: the keyboard goes to one window.
        set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR
            "bash;${PROJECT_SOURCE_DIR}/cmake/wineprefix.sh;run;${RESIPA_WINE64};${RESIPA_WINESERVER}")
        set_tests_properties(${tests} PROPERTIES RESOURCE_LOCK ${prefix})
    endif()
endfunction()

# The prefix every suite shares.
resipa_wine_prefix(wineprefix C.UTF-8)
