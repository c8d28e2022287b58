#pragma once

// A security descriptor that leaves what is created with it to the user running the
// program alone: one entry, full control for that user, nothing inherited from the folder.
// Given to the call that creates a file, it makes the file private from its first byte.

#include <qt_windows.h>

#include <vector>

// The user this process runs as, from its token; empty when it cannot be read (the
// system's reason is in GetLastError()).
std::vector<BYTE> UserOfProcess();

// Fills `list` with one entry, full control for `user`; false when the system refused (its
// reason in GetLastError()).
bool FillPrivateList(std::vector<BYTE>& list, const std::vector<BYTE>& user);

class PrivateDescriptor {
public:
    PrivateDescriptor();
    PrivateDescriptor(const PrivateDescriptor&) = delete;
    PrivateDescriptor& operator=(const PrivateDescriptor&) = delete;

    // For CreateFileW; nullptr when the descriptor could not be built (see Error()), and
    // then nothing is to be created.
    SECURITY_ATTRIBUTES* Attributes() { return error_ == ERROR_SUCCESS ? &attributes_ : nullptr; }
    DWORD Error() const { return error_; }

private:
    std::vector<BYTE> user_;
    std::vector<BYTE> list_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    DWORD error_ = ERROR_SUCCESS;
};
