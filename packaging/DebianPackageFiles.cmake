# Run by CPack in the Debian package's staging tree, before the package is
# made (CPACK_PRE_BUILD_SCRIPTS): adds what Debian's policy asks of a package
# and a plain installation has no use for.

set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT EXISTS ${root}/bin/mivo)
    message(FATAL_ERROR "no staged installation below ${root}")
endif()

# gzip -n leaves the name and time out, so the same pages make the same bytes.
function(compress source target)
    execute_process(COMMAND gzip -9 -n -c ${source} OUTPUT_FILE ${target}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot compress ${source}")
    endif()
    file(CHMOD ${target} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

file(GLOB pages ${root}/share/man/man1/*.1)
foreach(page IN LISTS pages)
    compress(${page} ${page}.gz)
    file(REMOVE ${page})
endforeach()

set(documents ${root}/share/doc/${CPACK_PACKAGE_NAME})
file(MAKE_DIRECTORY ${documents})
file(CHMOD ${documents} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(COPY_FILE ${CPACK_MIVO_COPYRIGHT_FILE} ${documents}/copyright)
file(CHMOD ${documents}/copyright FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# The version has no Debian revision, so the package counts as native and its
# changelog is changelog.gz.
compress(${CPACK_MIVO_CHANGELOG_FILE} ${documents}/changelog.gz)

# What strip leaves: the compiler's version notes.
file(GLOB programs ${root}/bin/*)
foreach(program IN LISTS programs)
    execute_process(COMMAND ${CPACK_MIVO_STRIP} --remove-section=.comment --remove-section=.note
                            ${program} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot strip ${program}")
    endif()
endforeach()
