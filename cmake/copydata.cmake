# Puts the data files beside the program: the template always, the sample profile only when
# no profile is there yet. Either may be missing from the source tree.
if(EXISTS "${SOURCE_DIR}/rspdefault.rtf")
    file(COPY_FILE "${SOURCE_DIR}/rspdefault.rtf" "${TARGET_DIR}/rspdefault.rtf")
endif()
if(EXISTS "${SOURCE_DIR}/informasi.inf" AND NOT EXISTS "${TARGET_DIR}/informasi.inf")
    file(COPY_FILE "${SOURCE_DIR}/informasi.inf" "${TARGET_DIR}/informasi.inf")
endif()
