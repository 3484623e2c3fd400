# The Debian package: `cpack` in the build folder (scripts/package) writes
# tessarine_VERSION_ARCH.deb there from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessarine)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Corvantis Software")
set(CPACK_PACKAGE_CONTACT "Tessarine developers <developers@tessarine.jp>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# One package from every part of the install rules but the dictionary beside the program:
# there the package's maintainer scripts put a link managed by update-alternatives.
get_cmake_property(package_components COMPONENTS)
list(REMOVE_ITEM package_components BesideProgram)
set(CPACK_COMPONENTS_ALL ${package_components})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tessarine.jp/)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The libraries the programs link come from dpkg-shlibdeps. What Qt loads only at run time is
# named here: the SQLite driver that reads the help collection, and a Japanese font (the xcb
# platform plug-in ships inside libqt6gui6, which the program links).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-ipafont-gothic | fonts-noto-cjk")
# The sources of the large dictionary that postinst builds; the program works without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dict-vera, dict-foldoc, edict")
# postinst builds the large dictionary and manages the dictionary link; the triggers run it again
# whenever the dictionary packages change; prerm and postrm undo it.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_SOURCE_DIR}/deb/postinst
  ${CMAKE_CURRENT_SOURCE_DIR}/deb/prerm
  ${CMAKE_CURRENT_SOURCE_DIR}/deb/postrm
  ${CMAKE_CURRENT_SOURCE_DIR}/deb/triggers)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "dictionary of computer and technical abbreviations\n\
Tessarine 2000 is a desktop dictionary of computer and technical\n\
abbreviations for Japanese-speaking users. Type an abbreviation, its\n\
spelled-out form or both (with * and ? as wildcards), narrow the search to\n\
a category, and read the entry: its references and related words lead on\n\
to other entries. It keeps a history of the last 100 entries seen, copies\n\
an entry as text and opens its web page.\n\
.\n\
The window and the help are in Japanese. Besides its own small\n\
dictionary, the package builds a large one of some 18 000 entries on\n\
this machine, with tessarine-dictd, from the acronyms of dict-vera, the\n\
articles of dict-foldoc and the Japanese terms of edict, whichever are\n\
installed, and builds it again whenever these packages change.")

include(CPack)
