#include "access_list_win.h"

#include "private_descriptor_win.h"

#include <QDir>
#include <aclapi.h>
#include <sddl.h>
#include <variant>
#include <vector>

namespace {

std::vector<BYTE> WellKnown(WELL_KNOWN_SID_TYPE type)
{
    DWORD size = SECURITY_MAX_SID_SIZE;
    std::vector<BYTE> sid(size);
    if (!CreateWellKnownSid(type, nullptr, sid.data(), &size))
        return {};
    sid.resize(size);
    return sid;
}

// The system's servicing account, which owns and changes Windows' own folders.
std::vector<BYTE> TrustedInstaller()
{
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",
                                &sid))
        return {};
    std::vector<BYTE> bytes(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
    LocalFree(sid);
    return bytes;
}

bool IsAmong(PSID sid, const std::vector<std::vector<BYTE>>& sids)
{
    for (const auto& one : sids)
        if (!one.empty() && EqualSid(sid, const_cast<BYTE*>(one.data())))
            return true;
    return false;
}

// Those who may do anything to the user's files anyway: the user, the system, the
// machine's administrators.
bool IsTrusted(PSID sid)
{
    static const std::vector<std::vector<BYTE>> trusted{
        UserOfProcess(), WellKnown(WinLocalSystemSid), WellKnown(WinBuiltinAdministratorsSid),
        TrustedInstaller()};
    return IsAmong(sid, trusted);
}

// Entries that stand for whoever owns the object: CREATOR OWNER grants nothing on the
// object itself, only to the creators of what is made inside; OWNER RIGHTS is the owner,
// who is checked apart.
bool StandsForOwner(PSID sid)
{
    static const std::vector<std::vector<BYTE>> owners{WellKnown(WinCreatorOwnerSid),
                                                       WellKnown(WinCreatorOwnerRightsSid)};
    return IsAmong(sid, owners);
}

// A list of one entry: full control for the user of this process.
std::variant<std::vector<BYTE>, DWORD> PrivateList()
{
    const std::vector<BYTE> user = UserOfProcess();
    if (user.empty())
        return GetLastError();
    std::vector<BYTE> list;
    if (!FillPrivateList(list, user))
        return GetLastError();
    return list;
}

// The list replaces the object's own and no longer takes what its folder hands down.
constexpr SECURITY_INFORMATION kPrivate =
    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION;

// Builds the private list and hands it to `set`; 0 or the system's error code.
template <typename Set> DWORD SetPrivateList(Set set)
{
    auto list = PrivateList();
    if (const auto* error = std::get_if<DWORD>(&list))
        return *error;
    return set(reinterpret_cast<ACL*>(std::get<std::vector<BYTE>>(list).data()));
}

// The rights the list allows anyone untrusted, generic rights mapped to a file's.
ACCESS_MASK RightsOfOthers(const ACL* acl)
{
    if (!acl)
        return FILE_ALL_ACCESS;
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                            FILE_ALL_ACCESS};
    ACCESS_MASK rights = 0;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(const_cast<ACL*>(acl), i, &ace))
            continue;
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        // An entry only for what is created inside does not apply to the object itself.
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        if (IsTrusted(&allowed->SidStart) || StandsForOwner(&allowed->SidStart))
            continue;
        ACCESS_MASK mask = allowed->Mask;
        MapGenericMask(&mask, &mapping);
        rights |= mask;
    }
    return rights;
}

} // namespace

OthersMay WhatOthersMay(const ACL* acl, const void* owner)
{
    // Adding a folder is not enough to replace one: a drive's root lets Authenticated
    // Users do just that.
    constexpr ACCESS_MASK kReplaceWithin = FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;
    constexpr ACCESS_MASK kChange = kReplaceWithin | FILE_WRITE_DATA | FILE_APPEND_DATA;
    const ACCESS_MASK rights = RightsOfOthers(acl);
    OthersMay may;
    may.owner = owner && !IsTrusted(const_cast<void*>(owner));
    may.read = rights & FILE_READ_DATA;
    may.change = rights & kChange;
    may.replaceWithin = rights & kReplaceWithin;
    return may;
}

OthersMay WhatOthersMay(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    ACL* acl = nullptr;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error =
        GetNamedSecurityInfoW(reinterpret_cast<const wchar_t*>(native.utf16()), SE_FILE_OBJECT,
                              DACL_SECURITY_INFORMATION | OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, &acl, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) {
        OthersMay unknown;
        unknown.error = error;
        return unknown;
    }
    const OthersMay may = WhatOthersMay(acl, owner);
    LocalFree(descriptor);
    return may;
}

DWORD MakePrivate(HANDLE object)
{
    return SetPrivateList([object](ACL* acl) {
        return SetSecurityInfo(object, SE_FILE_OBJECT, kPrivate, nullptr, nullptr, acl, nullptr);
    });
}

DWORD MakePrivate(const QString& path)
{
    std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    return SetPrivateList([&native](ACL* acl) {
        return SetNamedSecurityInfoW(native.data(), SE_FILE_OBJECT, kPrivate, nullptr, nullptr, acl,
                                     nullptr);
    });
}

DWORD GiveFolderPrivateList(const QString& path)
{
    const std::vector<BYTE> owners[] = {UserOfProcess(), WellKnown(WinLocalSystemSid),
                                        WellKnown(WinBuiltinAdministratorsSid)};
    DWORD size = sizeof(ACL);
    for (const auto& sid : owners) {
        if (sid.empty())
            return ERROR_INVALID_SID;
        size += DWORD(sizeof(ACCESS_ALLOWED_ACE) + sid.size());
    }
    std::vector<BYTE> list(size);
    auto* acl = reinterpret_cast<ACL*>(list.data());
    if (!InitializeAcl(acl, size, ACL_REVISION))
        return GetLastError();
    // What is made inside later takes the same list.
    constexpr DWORD kHandedDown = CONTAINER_INHERIT_ACE | OBJECT_INHERIT_ACE;
    for (const auto& sid : owners)
        if (!AddAccessAllowedAceEx(acl, ACL_REVISION, kHandedDown, FILE_ALL_ACCESS,
                                   const_cast<BYTE*>(sid.data())))
            return GetLastError();
    std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    return SetNamedSecurityInfoW(native.data(), SE_FILE_OBJECT, kPrivate, nullptr, nullptr, acl,
                                 nullptr);
}

bool KeepsAccessLists(const QString& path)
{
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    wchar_t root[MAX_PATH + 1] = {};
    DWORD flags = 0;
    // A drive that cannot be asked is taken to keep lists: the check then reads them.
    if (!GetVolumePathNameW(native.c_str(), root, MAX_PATH) ||
        !GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0))
        return true;
    return flags & FILE_PERSISTENT_ACLS;
}
