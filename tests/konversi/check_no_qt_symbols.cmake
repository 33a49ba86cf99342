# Fails when the library LIBRARY leaves any Qt symbol undefined: cmake -DNM=... -DLIBRARY=... -P
execute_process(COMMAND ${NM} -C --undefined-only ${LIBRARY}
    OUTPUT_VARIABLE symbols RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}: ${errors}")
endif()
string(REPLACE "\n" ";" lines "${symbols}")
set(qt_symbols "")
foreach(line IN LISTS lines)
    # "U name", where a vtable or typeinfo names its class after " for ".
    if(line MATCHES "^ *U (.* for )?(Q[A-Za-z_]|qt_|q[A-Z])")
        string(REGEX REPLACE "^ *U " "" name "${line}")
        list(APPEND qt_symbols "${name}")
    endif()
endforeach()
if(qt_symbols)
    list(JOIN qt_symbols "\n  " listed)
    message(FATAL_ERROR "Qt symbols left undefined in ${LIBRARY}:\n  ${listed}")
endif()
