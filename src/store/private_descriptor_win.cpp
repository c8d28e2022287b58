#include "private_descriptor_win.h"

std::vector<BYTE> UserOfProcess()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    const bool ok = size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
    CloseHandle(token);
    if (!ok)
        return {};
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    return std::vector<BYTE>(static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid));
}

bool FillPrivateList(std::vector<BYTE>& list, const std::vector<BYTE>& user)
{
    list.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + user.size());
    auto* acl = reinterpret_cast<ACL*>(list.data());
    return InitializeAcl(acl, DWORD(list.size()), ACL_REVISION) &&
           AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, const_cast<BYTE*>(user.data()));
}

PrivateDescriptor::PrivateDescriptor() : user_(UserOfProcess())
{
    if (user_.empty()) {
        error_ = GetLastError() ? GetLastError() : ERROR_ACCESS_DENIED;
        return;
    }
    // Protected: the folder's inheritable entries are not added to the file's list.
    if (!FillPrivateList(list_, user_) ||
        !InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, reinterpret_cast<ACL*>(list_.data()),
                                   FALSE) ||
        !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
        error_ = GetLastError();
        return;
    }
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
}
