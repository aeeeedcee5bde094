# The Debian package a student installs: cpack in a release build tree
# writes qadrill_<version>_<arch>.deb.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qadrill)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QADRILL_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The installed tree must not depend on the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QADRILL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binary; the interface font is only named in
# the code, so it is declared by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
# No Homepage: the project has no public page yet (see the README).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "question-and-answer drill for mathematics and physics")
set(CPACK_PACKAGE_DESCRIPTION
    "A drill for distance students of a mathematics and physics course. At
start it asks four questions (home or college network, full name,
initials, assignment number), then steps through the assignment's
problems one at a time, from the bank built into the program or from a
question bank file (*.qabank) an instructor wrote.

Every response and note is appended, with the problem and the time, to
plain-text logs in the student's data folder; the send log is the file
handed in to the instructor.")

include(CPack)
