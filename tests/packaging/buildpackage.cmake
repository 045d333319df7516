# Builds the Debian package of a build tree into a folder of its own, copies it
# to <folder>/velmora.deb and unpacks it into <folder>/root, as it would be
# installed, for the checks that follow.
#
#   cmake -DCPACK=<cpack> -DCONFIG=<CPackConfig.cmake> -DFOLDER=<folder> -P buildpackage.cmake
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
execute_process(COMMAND "${CPACK}" --config "${CONFIG}" -B "${FOLDER}" COMMAND_ERROR_IS_FATAL ANY)

file(GLOB packages "${FOLDER}/*.deb")
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package in ${FOLDER}, found ${count}: ${packages}")
endif()
file(COPY_FILE "${packages}" "${FOLDER}/velmora.deb")
execute_process(COMMAND dpkg-deb -x "${FOLDER}/velmora.deb" "${FOLDER}/root" COMMAND_ERROR_IS_FATAL ANY)
