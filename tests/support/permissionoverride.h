#pragma once
// Lets a test running as root meet permission bits as a user does: for its lifetime the calling
// thread lacks CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH. Capabilities belong to the thread, and
// the windows run on the test's own.
#include <linux/capability.h>

class WithoutPermissionOverride {
public:
    WithoutPermissionOverride();
    ~WithoutPermissionOverride();
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

private:
    __user_cap_data_struct data_[2] = {};
    bool changed_ = false;
};
