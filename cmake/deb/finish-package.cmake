# Run by CPack on the staged files of the Debian package, before packing them
# (CPACK_PRE_BUILD_SCRIPTS in ../Packaging.cmake): what Debian asks of a
# package beyond the install rules.
#   - programs without the .comment and .note sections, as dh_strip leaves
#     them (CPack has already stripped their symbols);
#   - manual pages compressed with gzip -9n;
#   - usr/share/doc/orvu-icons/copyright;
#   - usr/share/doc/orvu-icons/changelog.Debian.gz, compressed the same way;
#   - the lintian overrides (deb/lintian-overrides).

set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT IS_DIRECTORY ${root}/bin)
    message(FATAL_ERROR "no staged files at ${root}")
endif()

file(GLOB programs ${root}/bin/*)
foreach(program IN LISTS programs)
    execute_process(COMMAND ${CPACK_ORVU_STRIP} --remove-section=.comment --remove-section=.note
                            ${program} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "strip ${program} failed: ${status}")
    endif()
endforeach()

find_program(GZIP gzip REQUIRED)
function(gzip_file file)
    execute_process(COMMAND ${GZIP} -9nf ${file} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "gzip ${file} failed: ${status}")
    endif()
endfunction()

file(GLOB pages ${root}/share/man/man*/*.[1-9])
foreach(page IN LISTS pages)
    gzip_file(${page})
endforeach()

set(doc ${root}/share/doc/${CPACK_PACKAGE_NAME})
# file(COPY), not file(INSTALL): CPack has set DESTDIR, which file(INSTALL)
# would put in front of these paths once more.
file(COPY ${CPACK_ORVU_DEB_FILES}/copyright ${CPACK_ORVU_DEB_FILES}/changelog DESTINATION ${doc}
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(RENAME ${doc}/changelog ${doc}/changelog.Debian)
gzip_file(${doc}/changelog.Debian)

file(COPY ${CPACK_ORVU_DEB_FILES}/lintian-overrides DESTINATION ${root}/share/lintian/overrides
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
file(RENAME ${root}/share/lintian/overrides/lintian-overrides
     ${root}/share/lintian/overrides/${CPACK_PACKAGE_NAME})
