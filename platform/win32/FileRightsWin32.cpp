#include "platform/win32/FileRightsWin32.h"

#include <windows.h>
// After windows.h, which it needs.
#include <aclapi.h>

#include <array>
#include <memory>

#include "platform/system/FileRefusals.h"

namespace qadrill {

namespace {

using Sid = std::vector<unsigned char>;

Sid copyOf(PSID sid) {
    const DWORD length = GetLengthSid(sid);
    Sid bytes(length);
    if (CopySid(length, bytes.data(), sid) == FALSE) return {};
    return bytes;
}

Sid wellKnown(WELL_KNOWN_SID_TYPE type) {
    DWORD size = SECURITY_MAX_SID_SIZE;
    Sid sid(size);
    if (CreateWellKnownSid(type, nullptr, sid.data(), &size) == FALSE) return {};
    sid.resize(size);
    return sid;
}

// The token's user, or the owner it gives new objects.
Sid fromToken(HANDLE token, TOKEN_INFORMATION_CLASS which) {
    DWORD size = 0;
    GetTokenInformation(token, which, nullptr, 0, &size);
    if (size == 0) return {};
    std::vector<unsigned char> information(size);
    if (GetTokenInformation(token, which, information.data(), size, &size) == FALSE) return {};
    const PSID sid = which == TokenUser ? reinterpret_cast<TOKEN_USER*>(information.data())->User.Sid
                                        : reinterpret_cast<TOKEN_OWNER*>(information.data())->Owner;
    return copyOf(sid);
}

// The user and the system, each with every right, in a list the folder's own
// cannot join: as a file only its owner may open, where the administrators
// must take ownership first.
std::vector<unsigned char> privateDescriptorFor(const std::array<Sid, 2>& holders) {
    DWORD aclSize = sizeof(ACL);
    for (const Sid& sid : holders) {
        if (sid.empty()) return {};
        aclSize += static_cast<DWORD>(sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + sid.size());
    }
    std::vector<unsigned char> aclBytes(aclSize);
    auto* acl = reinterpret_cast<ACL*>(aclBytes.data());
    if (InitializeAcl(acl, aclSize, ACL_REVISION) == FALSE) return {};
    for (const Sid& sid : holders) {
        auto* bytes = const_cast<unsigned char*>(sid.data());  // the call only reads it
        if (AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, bytes) == FALSE) return {};
    }
    SECURITY_DESCRIPTOR absolute{};
    if (InitializeSecurityDescriptor(&absolute, SECURITY_DESCRIPTOR_REVISION) == FALSE ||
        SetSecurityDescriptorDacl(&absolute, TRUE, acl, FALSE) == FALSE ||
        SetSecurityDescriptorControl(&absolute, SE_DACL_PROTECTED, SE_DACL_PROTECTED) == FALSE)
        return {};
    DWORD size = 0;
    MakeSelfRelativeSD(&absolute, nullptr, &size);
    std::vector<unsigned char> relative(size);
    if (size == 0 || MakeSelfRelativeSD(&absolute, relative.data(), &size) == FALSE) return {};
    return relative;
}

// Rights that change the file, its rights or its name.
constexpr ACCESS_MASK changingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                       DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

// Grants the drill does not read (conditions, object types): taken as
// granting everyone everything.
bool isUnreadGrant(BYTE type) {
    return type == ACCESS_ALLOWED_COMPOUND_ACE_TYPE || type == ACCESS_ALLOWED_OBJECT_ACE_TYPE ||
           type == ACCESS_ALLOWED_CALLBACK_ACE_TYPE || type == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE;
}

struct LocalFreed {
    void operator()(void* memory) const { LocalFree(memory); }
};

}  // namespace

FileUser::FileUser() {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) return;
    user_ = fromToken(token, TokenUser);
    newFileOwner_ = fromToken(token, TokenOwner);
    CloseHandle(token);
    descriptor_ = privateDescriptorFor({user_, wellKnown(WinLocalSystemSid)});
}

const void* FileUser::privateDescriptor() const { return descriptor_.empty() ? nullptr : descriptor_.data(); }

bool FileUser::isUser(const void* sid) const {
    const auto same = [&](const Sid& known) {
        return !known.empty() && EqualSid(const_cast<void*>(sid), const_cast<unsigned char*>(known.data())) != FALSE;
    };
    return same(user_) || same(newFileOwner_);
}

// The user, and those who may change any file anyway.
bool FileUser::isTrusted(const void* sid) const {
    if (isUser(sid)) return true;
    for (const WELL_KNOWN_SID_TYPE type : {WinLocalSystemSid, WinBuiltinAdministratorsSid, WinCreatorOwnerRightsSid}) {
        if (IsWellKnownSid(const_cast<void*>(sid), type) != FALSE) return true;
    }
    return false;
}

bool FileUser::owns(void* handle) const {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    const std::unique_ptr<void, LocalFreed> freed(descriptor);
    return owner != nullptr && isUser(owner);
}

void FileUser::keepPrivateOnlyWhereOwned(void* handle) const {
    if (descriptor_.empty() || owns(handle)) return;
    // An empty list that takes what the folder hands down.
    ACL inherited{};
    if (InitializeAcl(&inherited, sizeof inherited, ACL_REVISION) == FALSE) return;
    SetSecurityInfo(handle, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                    nullptr, &inherited, nullptr);
}

std::string_view FileUser::brokenRule(void* handle) const {
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD read = GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                       &owner, nullptr, &dacl, nullptr, &descriptor);
    if (read != ERROR_SUCCESS) return refusal::unknownOwner;
    const std::unique_ptr<void, LocalFreed> freed(descriptor);
    if (owner == nullptr || user_.empty()) return refusal::unknownOwner;
    if (!isUser(owner)) return refusal::ownedByAnother;
    if (dacl == nullptr) return refusal::othersMayWrite;  // no list at all lets everyone in
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (GetAce(dacl, index, &entry) == FALSE) return refusal::othersMayWrite;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if ((header->AceFlags & INHERIT_ONLY_ACE) != 0) continue;  // for the folder's children only
        if (isUnreadGrant(header->AceType)) return refusal::othersMayWrite;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;  // a denial takes rights away
        const auto* grant = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
        if ((grant->Mask & changingRights) != 0 && !isTrusted(&grant->SidStart)) return refusal::othersMayWrite;
    }
    return {};
}

}  // namespace qadrill
