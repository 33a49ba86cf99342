# Runs before the install copies anything, so that a refusal leaves nothing behind.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
# The menu entry names the program by its path: a line break would end its Exec line, and GLib
# looks the program up by the path as written, before a doubled % is read as one.
if(prefix MATCHES "[\n\r%]")
    message(FATAL_ERROR "Nothing installed: the prefix \"${prefix}\" holds a line break or %, "
        "with which the menu entry could not start the program. Choose another --prefix.")
endif()

# cmake --install writes its own list into the build folder after copying every file; a build
# folder that this user cannot write would fail the install only then.
execute_process(COMMAND "${CMAKE_COMMAND}" -E touch "${RESIPA_BUILD_DIR}/install_manifest.txt"
    RESULT_VARIABLE touched OUTPUT_QUIET ERROR_QUIET)
if(NOT touched EQUAL 0)
    message(FATAL_ERROR "Nothing installed: this user cannot write the build folder "
        "${RESIPA_BUILD_DIR}, where cmake --install writes its list of installed files. Build as "
        "the user who installs, into a folder of your own:\n"
        "  cmake -S \"${RESIPA_SOURCE_DIR}\" -B ~/resipa-build -DRESIPA_BUILD_TESTS=OFF "
        "-DRESIPA_BUILD_BENCH=OFF\n"
        "  cmake --build ~/resipa-build --target resipa\n"
        "  cmake --install ~/resipa-build --prefix ~/.local")
endif()
