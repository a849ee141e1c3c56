# The release bundle: `cpack -G ZIP` in the build folder (or
# `cmake --build <build> --target package`) makes Velkor-<version>-win32.zip with
# Velkor.exe, velkorctl.exe, both skin folders and a note on where the user's
# own io.dll goes.
# The EC simulator is for development only and stays out.
set(VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_CURRENT_LIST_DIR}/bundle-readme.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS Velkor velkorctl RUNTIME DESTINATION . COMPONENT bundle)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/skins/skin_EN ${CMAKE_SOURCE_DIR}/skins/skin_CN
        DESTINATION . COMPONENT bundle)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION . COMPONENT bundle)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Velkor)
set(CPACK_PACKAGE_VENDOR Velkor)
set(CPACK_PACKAGE_FILE_NAME "Velkor-${PROJECT_VERSION}-win32")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
# Only the bundle's own files: other projects in the tree (GoogleTest) have
# install rules of their own.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Velkor;bundle;/")
include(CPack)
