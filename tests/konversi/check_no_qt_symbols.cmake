# Fails when the library LIBRARY leaves any Qt symbol undefined: cmake -DNM=.. -DLIBRARY=.. -P
execute_process(COMMAND ${NM} -C --undefined-only ${LIBRARY}
    OUTPUT_VARIABLE symbols RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}: ${errors}")
endif()
# "U name", where a vtable or typeinfo names its class after " for ".
string(REGEX MATCHALL " U ([^\n]* for )?(Q[A-Za-z_]|qt_|q[A-Z])[^\n]*" qt_symbols "${symbols}")
if(qt_symbols)
    list(JOIN qt_symbols "\n  " listed)
    message(FATAL_ERROR "Qt symbols left undefined in ${LIBRARY}:\n  ${listed}")
endif()
