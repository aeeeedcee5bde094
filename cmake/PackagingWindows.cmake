# The Windows installer a student runs: cpack in the windows build tree (a
# release build) writes qadrill-<version>-win64.exe with NSIS, built on Linux.

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME qadrill)
set(CPACK_PACKAGE_VENDOR "Q&A Drill developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME qadrill-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Question-and-answer drill for mathematics and physics")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Q&A Drill")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY qadrill)
set(CPACK_STRIP_FILES ON)

# 64-bit and Unicode: the default stub is 32-bit and installs nothing where
# only 64-bit programs run.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "Q&A Drill")
set(CPACK_NSIS_DISPLAY_NAME "Q&A Drill")
set(CPACK_NSIS_MUI_ICON ${QADRILL_ICON})
set(CPACK_NSIS_MUI_UNIICON ${QADRILL_ICON})
set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\\\qadrill.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# The Start-menu entry "Q&A Drill"; the shortcut shows the program's icon.
set(CPACK_PACKAGE_EXECUTABLES "qadrill;Q&A Drill")
# The sample bank beside the program gets its own Start-menu entry.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Q&A Drill sample bank.lnk' '$INSTDIR\\\\bin\\\\qadrill.exe' '--bank \\\"$INSTDIR\\\\bin\\\\sample.qabank\\\"'")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete '$SMPROGRAMS\\\\$MUI_TEMP\\\\Q&A Drill sample bank.lnk'")
# Bank files (*.qabank) open in the drill.  The uninstaller takes the type
# away, and the extension too while it still points at that type.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  WriteRegStr HKCR '.qabank' '' 'QADrill.Bank'
  WriteRegStr HKCR '.qabank' 'Content Type' 'application/x-qadrill-bank'
  WriteRegStr HKCR 'QADrill.Bank' '' 'Q&A Drill question bank'
  WriteRegStr HKCR 'QADrill.Bank\\\\DefaultIcon' '' '$INSTDIR\\\\bin\\\\qadrill.exe,0'
  WriteRegStr HKCR 'QADrill.Bank\\\\shell\\\\open\\\\command' '' '\\\"$INSTDIR\\\\bin\\\\qadrill.exe\\\" --bank \\\"%1\\\"'
")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  ReadRegStr $0 HKCR '.qabank' ''
  StrCmp $0 'QADrill.Bank' 0 +2
  DeleteRegKey HKCR '.qabank'
  DeleteRegKey HKCR 'QADrill.Bank'
")
# The student's logs in c:\plovenda are the program's, never the installer's:
# uninstalling removes only what installing put down.

include(CPack)
