# Installs the build tree into a staging folder and checks Kiosa's layout and the
# desktop integration: what a double-click on a DZL file needs is really there.
# In: BUILD_DIR, STAGE_DIR, PREFIX (absolute), INSTALL_ROOT, PROGRAM_DIR, BINDIR, DATADIR,
#     MANDIR.

foreach(dir INSTALL_ROOT PROGRAM_DIR)
  if(IS_ABSOLUTE "${${dir}}")
    message(FATAL_ERROR "${dir} '${${dir}}' is absolute: it must lie under the prefix "
                        "(is GNUInstallDirs included before it is set?)")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGE_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env "DESTDIR=${STAGE_DIR}"
                        ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(root "${STAGE_DIR}${PREFIX}")
foreach(path
    "${INSTALL_ROOT}/Kiosa"
    "${PROGRAM_DIR}/Ohmlet"
    "${PROGRAM_DIR}/ohmlet-cli"
    "${PROGRAM_DIR}/Ohmlet.html"
    "${PROGRAM_DIR}/Ohmlet_en.html"
    "${PROGRAM_DIR}/表格.docx"
    "${PROGRAM_DIR}/examples/example.DZL"
    "${DATADIR}/applications/ohmlet.desktop"
    "${DATADIR}/applications/kiosa.desktop"
    "${DATADIR}/mime/packages/ohmlet-dzl.xml"
    "${DATADIR}/metainfo/org.ohmlet.Ohmlet.metainfo.xml"
    "${MANDIR}/man1/ohmlet.1"
    "${MANDIR}/man1/ohmlet-cli.1"
    "${MANDIR}/man1/kiosa.1"
    "${DATADIR}/icons/hicolor/48x48/apps/ohmlet.png"
    "${DATADIR}/icons/hicolor/scalable/apps/ohmlet.svg"
    "${DATADIR}/icons/hicolor/48x48/apps/kiosa.png"
    "${DATADIR}/icons/hicolor/48x48/mimetypes/application-x-ohmlet-dzl.png")
  if(NOT EXISTS "${root}/${path}")
    message(SEND_ERROR "missing ${path}")
  endif()
endforeach()

# The entry names the program where it will run, not where it was staged.
file(STRINGS "${root}/${DATADIR}/applications/ohmlet.desktop" exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=${PREFIX}/${PROGRAM_DIR}/Ohmlet %f")
  message(SEND_ERROR "ohmlet.desktop has '${exec}'")
endif()
file(STRINGS "${root}/${DATADIR}/applications/kiosa.desktop" exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=${PREFIX}/${INSTALL_ROOT}/Kiosa")
  message(SEND_ERROR "kiosa.desktop has '${exec}'")
endif()

# Kiosa looks for gangjin/ beside its real file, so the link must lead there.
file(REAL_PATH "${root}/${BINDIR}/kiosa" kiosa_target)
file(REAL_PATH "${root}/${INSTALL_ROOT}/Kiosa" kiosa_file)
if(NOT kiosa_target STREQUAL kiosa_file)
  message(SEND_ERROR "${BINDIR}/kiosa leads to '${kiosa_target}'")
endif()
foreach(link ohmlet:Ohmlet ohmlet-cli:ohmlet-cli)
  string(REPLACE ":" ";" link "${link}")
  list(GET link 0 name)
  list(GET link 1 program)
  file(READ_SYMLINK "${root}/${BINDIR}/${name}" target)
  cmake_path(ABSOLUTE_PATH target BASE_DIRECTORY "${root}/${BINDIR}" NORMALIZE)
  if(NOT target STREQUAL "${root}/${PROGRAM_DIR}/${program}")
    message(SEND_ERROR "${BINDIR}/${name} leads to '${target}'")
  endif()
endforeach()

file(READ "${root}/${DATADIR}/mime/packages/ohmlet-dzl.xml" mime)
if(NOT mime MATCHES "type=\"application/x-ohmlet-dzl\"" OR NOT mime MATCHES "pattern=\"\\*\\.dzl\"")
  message(SEND_ERROR "the DZL type or its glob is missing")
endif()
file(REMOVE_RECURSE "${STAGE_DIR}")
