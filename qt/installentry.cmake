# Runs at install time, after the program and the icons are in place: the template and the
# sample profile beside the program, keeping the operator's own; the link in PREFIX/bin; the
# menu entry naming the installed program by its absolute path; and the list of what the install
# wrote or keeps as its own, with each file's checksum, from which the next install and the
# uninstall tell the operator's own files from ours.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(root "$ENV{DESTDIR}${prefix}")
set(folder "${root}/${RESIPA_FOLDER}")
set(program "${prefix}/${RESIPA_FOLDER}/resipa")

# What the last install wrote beside the program: written_NAME holds each file's checksum.
if(EXISTS "${folder}/.installed" AND NOT IS_SYMLINK "${folder}/.installed")
    file(STRINGS "${folder}/.installed" lines)
    foreach(line IN LISTS lines)
        if(line MATCHES "^([0-9a-f]+)  ${RESIPA_FOLDER}/([^/]+)$")
            set("written_${CMAKE_MATCH_2}" "${CMAKE_MATCH_1}")
        endif()
    endforeach()
endif()
# Whether NAME beside the program is still what the last install wrote, or else what this one
# would write from SOURCE.
function(still_ours name source result)
    set(ours FALSE)
    if(EXISTS "${folder}/${name}")
        file(SHA256 "${folder}/${name}" sum)
        if(source)
            file(SHA256 "${source}" new)
        endif()
        if(sum STREQUAL "${written_${name}}" OR sum STREQUAL "${new}")
            set(ours TRUE)
        endif()
    endif()
    set(${result} ${ours} PARENT_SCOPE)
endfunction()

# The template follows each install unless the operator changed it; then the new default goes
# beside it, for the operator to compare.
set(installed resipa)
set(template "${folder}/rspdefault.rtf")
still_ours(rspdefault.rtf "${RESIPA_TEMPLATE}" template_ours)
if(template_ours OR NOT EXISTS "${template}")
    message(STATUS "Installing: ${template}")
    file(COPY_FILE "${RESIPA_TEMPLATE}" "${template}")
    list(APPEND installed rspdefault.rtf)
    # A new default set beside an earlier template of the operator's is no news any more.
    still_ours(rspdefault.rtf.baru "" stale)
    if(stale)
        file(REMOVE "${template}.baru")
    endif()
else()
    message(STATUS "Kept the operator's own template ${template}, changed since the last "
        "install; the new default is beside it: ${template}.baru")
    file(COPY_FILE "${RESIPA_TEMPLATE}" "${template}.baru")
    list(APPEND installed rspdefault.rtf.baru)
endif()

# The profile goes in only where there is none: one from before the program moved out of bin/
# is carried over instead of the sample. The sample stays on the list while it is unchanged.
if(NOT EXISTS "${folder}/informasi.inf")
    set(profile "${RESIPA_SAMPLE_PROFILE}")
    if(EXISTS "${root}/bin/informasi.inf" AND NOT IS_SYMLINK "${root}/bin/resipa")
        set(profile "${root}/bin/informasi.inf")
        message(STATUS "Carried over the profile of the earlier install: ${profile}")
    else()
        list(APPEND installed informasi.inf)
    endif()
    message(STATUS "Installing: ${folder}/informasi.inf")
    file(COPY_FILE "${profile}" "${folder}/informasi.inf")
else()
    still_ours(informasi.inf "" profile_ours)
    if(profile_ours)
        list(APPEND installed informasi.inf)
    endif()
endif()

message(STATUS "Installing: ${root}/bin/resipa -> ../${RESIPA_FOLDER}/resipa")
file(MAKE_DIRECTORY "${root}/bin")
file(REMOVE "${root}/bin/resipa")
file(CREATE_LINK "../${RESIPA_FOLDER}/resipa" "${root}/bin/resipa" SYMBOLIC)

# Exec is quoted for paths with spaces; inside the quotes ", `, $ and \ take a backslash, and
# the value's own escaping doubles every backslash once more. A path with a line break or % was
# refused before the install began.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${program}")
string(REPLACE "\\" "\\\\" exec "\"${exec}\"")
string(REPLACE "\\" "\\\\" try_exec "${program}")
set(entry "${root}/share/applications/resipa.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${RESIPA_ENTRY_TEMPLATE}" "${entry}" @ONLY)

set(manifest "")
foreach(file IN LISTS installed)
    file(SHA256 "${folder}/${file}" sum)
    string(APPEND manifest "${sum}  ${RESIPA_FOLDER}/${file}\n")
endforeach()
list(TRANSFORM RESIPA_ICON_SIZES REPLACE "(.+)" "share/icons/hicolor/\\1x\\1/apps/resipa.png"
    OUTPUT_VARIABLE icons)
foreach(file IN LISTS icons ITEMS share/applications/resipa.desktop)
    file(SHA256 "${root}/${file}" sum)
    string(APPEND manifest "${sum}  ${file}\n")
endforeach()
file(WRITE "${folder}/.installed" "${manifest}")
