# Runs at install time, after the program, the template and the icons are in place: the sample
# profile where there is none yet, the link in PREFIX/bin, the menu entry naming the installed
# program by its absolute path, and the list of what was installed with each file's checksum,
# from which scripts/uninstall.sh tells the operator's own files from ours.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(root "$ENV{DESTDIR}${prefix}")
set(folder "${root}/${RESIPA_FOLDER}")
set(program "${prefix}/${RESIPA_FOLDER}/resipa")
if(program MATCHES "[\n\r]")
    message(FATAL_ERROR "A menu entry cannot name a program whose path holds a line break")
endif()

# A reinstall keeps the operator's profile; one from before the program moved out of bin/ is
# carried over instead of the sample.
set(installed resipa rspdefault.rtf)
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
endif()

message(STATUS "Installing: ${root}/bin/resipa -> ../${RESIPA_FOLDER}/resipa")
file(MAKE_DIRECTORY "${root}/bin")
file(REMOVE "${root}/bin/resipa")
file(CREATE_LINK "../${RESIPA_FOLDER}/resipa" "${root}/bin/resipa" SYMBOLIC)

# Exec is quoted for paths with spaces; inside the quotes ", `, $ and \ take a backslash, % is
# doubled, and the value's own escaping doubles every backslash once more.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${program}")
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "\"${exec}\"")
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
