# Install layout and the Debian package (CPack).
#
#   /usr/bin/qinghe-dict                 launcher: starts the program in its data folder
#   /usr/lib/qinghe-dict/qinghe-dict     the program
#   /usr/share/qinghe-dict/              enci.edt, enci.dbf, html/encd.css (read only)
#   /usr/share/applications, icons/hicolor, metainfo, man, doc/qinghe-dict
# (`cmake --install` puts the same under another prefix.)
#
# The dictionary comes from QINGHE_DICTIONARY_DIR (a folder laid out like dist/); the
# environment variable of that name, read when installing, overrides it, so one build can
# package the full or the sample dictionary.

set(QINGHE_VERSION "1.0.0")
set(QINGHE_DICTIONARY_DIR "${CMAKE_SOURCE_DIR}/dist" CACHE PATH
    "Folder holding enci.edt, enci.dbf, html/encd.css and NOTICES.txt for the package")

# Fixed relative to the prefix: the program and its launcher find each other and the data folder
# by these names (app/Startup.cpp, packaging/qinghe-dict).
set(QINGHE_PROGRAM_SUBDIR "lib/qinghe-dict")
set(QINGHE_DATA_SUBDIR "share/qinghe-dict")

set(pkg "${CMAKE_SOURCE_DIR}/packaging")
set(gen "${CMAKE_BINARY_DIR}/packaging")
set(PROJECT_VERSION "${QINGHE_VERSION}")
configure_file("${pkg}/qinghe-dict.metainfo.xml.in" "${gen}/example.qinghe.dictionary.metainfo.xml"
               @ONLY)
# Compressed without a time stamp, so the package is the same from build to build.
foreach(doc qinghe-dict.1 changelog)
  add_custom_command(OUTPUT "${gen}/${doc}.gz"
    COMMAND gzip -9 -n -c "${pkg}/${doc}" > "${gen}/${doc}.gz"
    DEPENDS "${pkg}/${doc}" VERBATIM)
endforeach()
add_custom_target(qinghe_package_docs ALL
  DEPENDS "${gen}/qinghe-dict.1.gz" "${gen}/changelog.gz")

install(TARGETS qinghe-dict RUNTIME DESTINATION "${QINGHE_PROGRAM_SUBDIR}")
install(PROGRAMS "${pkg}/qinghe-dict" DESTINATION "bin")
install(FILES "${pkg}/qinghe-dict.desktop" DESTINATION "share/applications")
install(FILES "${gen}/example.qinghe.dictionary.metainfo.xml"
        DESTINATION "share/metainfo")
install(FILES "${pkg}/icons/qinghe-dict.svg"
        DESTINATION "share/icons/hicolor/scalable/apps")
# The PNGs are rsvg-convert renderings of the SVG (rsvg-convert -w N -h N).
foreach(size 16 24 32 48 64 128 256)
  install(FILES "${pkg}/icons/qinghe-dict-${size}.png"
          DESTINATION "share/icons/hicolor/${size}x${size}/apps"
          RENAME qinghe-dict.png)
endforeach()
install(FILES "${gen}/qinghe-dict.1.gz" DESTINATION "share/man/man1")
install(FILES "${gen}/changelog.gz" DESTINATION "share/doc/qinghe-dict")

# The dictionary, its notices and the copyright file that includes them.
set(QINGHE_COPYRIGHT_HEAD "${pkg}/copyright.in")
install(CODE "
  set(dict \"\$ENV{QINGHE_DICTIONARY_DIR}\")
  if(dict STREQUAL \"\")
    set(dict \"${QINGHE_DICTIONARY_DIR}\")
  endif()
  foreach(f enci.edt enci.dbf html/encd.css NOTICES.txt)
    if(NOT EXISTS \"\${dict}/\${f}\")
      message(FATAL_ERROR \"The dictionary folder \${dict} has no \${f}\")
    endif()
  endforeach()
  set(root \"\${CMAKE_INSTALL_PREFIX}\")
  file(INSTALL DESTINATION \"\${root}/${QINGHE_DATA_SUBDIR}\" TYPE FILE
       FILES \"\${dict}/enci.edt\" \"\${dict}/enci.dbf\")
  file(INSTALL DESTINATION \"\${root}/${QINGHE_DATA_SUBDIR}/html\" TYPE FILE
       FILES \"\${dict}/html/encd.css\")
  set(doc \"\${root}/share/doc/qinghe-dict\")
  file(INSTALL DESTINATION \"\${doc}\" TYPE FILE FILES \"\${dict}/NOTICES.txt\")
  file(READ \"${QINGHE_COPYRIGHT_HEAD}\" head)
  file(READ \"\${dict}/NOTICES.txt\" notices)
  file(WRITE \"${CMAKE_BINARY_DIR}/packaging/copyright\" \"\${head}\${notices}\")
  file(INSTALL DESTINATION \"\${doc}\" TYPE FILE FILES \"${CMAKE_BINARY_DIR}/packaging/copyright\")
")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "qinghe-dict")
set(CPACK_PACKAGE_VERSION "${QINGHE_VERSION}")
set(CPACK_PACKAGE_VENDOR "Qinghe dictionary developers")
set(CPACK_PACKAGE_CONTACT "Qinghe dictionary developers <developers@qinghe.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "offline English-Chinese and Chinese-English dictionary")
# CPack puts the summary first and indents every line of this.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Qinghe English Dictionary looks up English words and Chinese text without a
network connection: matching headwords are listed as you type, and the chosen
entry is shown as a formatted page with its pronunciation, Chinese
translations, senses, examples and phrases. It can read the headword aloud
and copy the whole entry.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "text")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${QINGHE_SITE_HOST}/")
# The libraries come from dpkg-shlibdeps; fonts and plugins are loaded at run time, so they
# are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fcitx5-frontend-qt6, qt6-speech-speechd-plugin | qt6-speech-flite-plugin")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fcitx5-chinese-addons | ibus-libpinyin")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
