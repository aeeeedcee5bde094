#pragma once
// Whose a file is and who else may change it, on Windows: read from the
// file's security descriptor.  And the rights the drill gives its own new
// files, so that no classmate in a shared folder can read or change them.
//
// <windows.h> stays out of this header, as out of SystemCallsWin32.h: a
// handle is a void*, a security identifier its bytes.

#include <string_view>
#include <vector>

namespace qadrill {

class FileUser {
public:
    // The user this process runs as.
    FileUser();

    // A self-relative security descriptor for a new file: the user, the
    // system and the administrators may use it, nobody else, whatever the
    // folder hands down.  Null when the user could not be read.
    [[nodiscard]] const void* privateDescriptor() const;

    // Why the file behind the handle (opened with READ_CONTROL) is not the
    // user's alone: another owns it, or another may write it.  Empty when it
    // is.  A file system that keeps no owners (FAT, some network shares) is
    // refused too: the drill cannot tell whose the file is.
    [[nodiscard]] std::string_view brokenRule(void* handle) const;

    // A new file's private rights name the user as this machine knows them.
    // Where the file system shows another owner for it (a share that maps
    // every user to an account of its own), they could shut the user out of
    // the file at its next open: the folder's rights then serve instead.
    // The handle was opened with READ_CONTROL and WRITE_DAC.
    void keepPrivateOnlyWhereOwned(void* handle) const;

private:
    // Whether the file system shows the user as the file's owner.
    [[nodiscard]] bool owns(void* handle) const;
    [[nodiscard]] bool isUser(const void* sid) const;
    [[nodiscard]] bool isTrusted(const void* sid) const;

    // The token's user, and the owner the system gives the user's new files
    // (the administrators, for an elevated administrator).
    std::vector<unsigned char> user_;
    std::vector<unsigned char> newFileOwner_;
    std::vector<unsigned char> descriptor_;
};

}  // namespace qadrill
